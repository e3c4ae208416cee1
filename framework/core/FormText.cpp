#include "framework/core/FormText.h"

#include "framework/core/Text.h"

namespace bw::core {
namespace {

struct TParseError {
  std::string What;
};

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class TParser {
 public:
  TParser(std::string_view text, const TAssetResolver& resolve) : FText(text), FResolve(resolve) {}

  TFormNode ParseRoot() {
    SkipBlanks();
    TFormNode root = ParseObject();
    SkipBlanks();
    if (FPos != FText.size()) Fail("text after the final 'end'");
    return root;
  }

  std::string Where() const { return "line " + std::to_string(FLine) + ": "; }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw TParseError{Where() + what}; }

  bool AtEnd() const { return FPos >= FText.size(); }
  char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPos;
      } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
        while (!AtEnd() && FText[FPos] != '\n') ++FPos;
      } else {
        break;
      }
    }
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Fail(std::string("expected '") + c + "'");
    ++FPos;
  }

  std::string Ident() {
    SkipBlanks();
    if (!IsIdentStart(Peek())) Fail("expected a name");
    const std::size_t start = FPos;
    while (!AtEnd() && IsIdentChar(FText[FPos])) ++FPos;
    return std::string(FText.substr(start, FPos - start));
  }

  std::string DottedIdent() {
    std::string name = Ident();
    while (Peek() == '.') {
      ++FPos;
      if (!IsIdentStart(Peek())) Fail("expected a name after '.'");
      name += '.';
      name += Ident();
    }
    return name;
  }

  bool NextIsKeyword(std::string_view keyword) {
    SkipBlanks();
    if (FText.size() - FPos < keyword.size()) return false;
    if (!SameText(FText.substr(FPos, keyword.size()), keyword)) return false;
    const std::size_t after = FPos + keyword.size();
    return after == FText.size() || !IsIdentChar(FText[after]);
  }

  void Enter() {
    if (++FDepth > kMaxFormNestingDepth) Fail("nesting deeper than " + std::to_string(kMaxFormNestingDepth));
  }
  void Leave() { --FDepth; }

  TFormNode ParseObject() {
    if (!NextIsKeyword("object")) Fail("expected 'object'");
    FPos += 6;
    Enter();
    TFormNode node;
    std::string first = Ident();
    SkipBlanks();
    if (Peek() == ':') {
      ++FPos;
      node.Name = std::move(first);
      node.ClassName = Ident();
    } else {
      node.ClassName = std::move(first);
    }
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("missing 'end'");
      if (NextIsKeyword("end")) {
        FPos += 3;
        break;
      }
      if (NextIsKeyword("object")) {
        node.Children.push_back(ParseObject());
        continue;
      }
      node.Properties.push_back(ParseProperty());
    }
    Leave();
    return node;
  }

  TFormProperty ParseProperty() {
    TFormProperty prop;
    prop.Name = DottedIdent();
    Expect('=');
    prop.Value = ParseValue();
    return prop;
  }

  TFormValue ParseValue() {
    SkipBlanks();
    Enter();
    TFormValue value;
    const char c = Peek();
    if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) {
      value.Kind = TFormValueKind::Integer;
      value.Int = Integer();
    } else if (c == '\'' || c == '#') {
      value.Kind = TFormValueKind::String;
      value.Text = String();
    } else if (IsIdentStart(c)) {
      value.Kind = TFormValueKind::Ident;
      value.Text = Ident();
    } else if (c == '[') {
      ++FPos;
      value.Kind = TFormValueKind::Set;
      SkipBlanks();
      if (Peek() != ']') {
        for (;;) {
          value.Names.push_back(Ident());
          SkipBlanks();
          if (Peek() != ',') break;
          ++FPos;
        }
      }
      Expect(']');
    } else if (c == '(') {
      ++FPos;
      value.Kind = TFormValueKind::List;
      for (;;) {
        SkipBlanks();
        if (AtEnd()) Fail("missing ')'");
        if (Peek() == ')') break;
        value.List.push_back(ParseValue());
      }
      ++FPos;
    } else if (c == '<') {
      ++FPos;
      value.Kind = TFormValueKind::Collection;
      for (;;) {
        SkipBlanks();
        if (Peek() == '>') break;
        if (!NextIsKeyword("item")) Fail("expected 'item' or '>'");
        FPos += 4;
        std::vector<TFormProperty> item;
        for (;;) {
          SkipBlanks();
          if (AtEnd()) Fail("missing 'end' of an item");
          if (NextIsKeyword("end")) {
            FPos += 3;
            break;
          }
          item.push_back(ParseProperty());
        }
        value.Items.push_back(std::move(item));
      }
      ++FPos;
    } else if (c == '{') {
      ++FPos;
      value.Kind = TFormValueKind::Binary;
      value.Text = Binary();
    } else if (c == '@') {
      ++FPos;
      value.Kind = TFormValueKind::Binary;
      value.Text = Asset();
    } else {
      Fail(AtEnd() ? "missing value" : "unexpected character in a value");
    }
    Leave();
    return value;
  }

  std::int32_t Integer() {
    const std::size_t start = FPos;
    if (Peek() == '-' || Peek() == '+') ++FPos;
    if (Peek() == '$') ++FPos;
    while (!AtEnd() && IsIdentChar(FText[FPos])) ++FPos;
    std::int32_t value = 0;
    if (!TryStrToInt(FText.substr(start, FPos - start), value)) Fail("bad or out-of-range integer");
    return value;
  }

  std::string String() {
    std::string text;
    for (;;) {
      const char c = Peek();
      if (c == '\'') {
        ++FPos;
        for (;;) {
          if (AtEnd() || FText[FPos] == '\n' || FText[FPos] == '\r') Fail("unterminated text");
          const char d = FText[FPos++];
          if (d == '\'') {
            if (Peek() != '\'') break;
            ++FPos;
          }
          text += d;
        }
      } else if (c == '#') {
        ++FPos;
        const std::size_t start = FPos;
        if (Peek() == '$') ++FPos;
        while (!AtEnd() && IsIdentChar(FText[FPos])) ++FPos;
        std::int32_t code = 0;
        if (!TryStrToInt(FText.substr(start, FPos - start), code) || code < 0 || code > 255)
          Fail("bad character code after '#'");
        text += static_cast<char>(code);
      } else {
        // '+' joins pieces across blanks and lines.
        const std::size_t savePos = FPos;
        const int saveLine = FLine;
        SkipBlanks();
        if (Peek() != '+') {
          FPos = savePos;
          FLine = saveLine;
          return text;
        }
        ++FPos;
        SkipBlanks();
        if (Peek() != '\'' && Peek() != '#') Fail("expected text after '+'");
      }
    }
  }

  std::string Binary() {
    std::string bytes;
    const std::size_t close = FText.find('}', FPos);
    if (close != std::string_view::npos) bytes.reserve((close - FPos) / 2);
    int high = -1;
    for (;;) {
      if (AtEnd()) Fail("missing '}'");
      const char c = FText[FPos++];
      if (c == '}') break;
      if (c == '\n') {
        ++FLine;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') continue;
      const int digit = HexDigit(c);
      if (digit < 0) Fail("bad hexadecimal digit in binary data");
      if (high < 0) {
        high = digit;
      } else {
        bytes += static_cast<char>(high << 4 | digit);
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hexadecimal digits in binary data");
    return bytes;
  }

  std::string Asset() {
    if (Ident() != "file") Fail("expected @file");
    Expect('(');
    SkipBlanks();
    if (Peek() != '\'' && Peek() != '#') Fail("expected the asset's path as text");
    const std::string path = String();
    Expect(')');
    if (!FResolve) Fail("asset '" + path + "' is not resolved here; forms are built with their assets");
    std::optional<std::string> bytes = FResolve(path);
    if (!bytes) Fail("cannot read asset '" + path + "'");
    return std::move(*bytes);
  }

  std::string_view FText;
  const TAssetResolver& FResolve;
  std::size_t FPos = 0;
  int FLine = 1;
  int FDepth = 0;
};

void Indent(std::string& out, int level) { out.append(static_cast<std::size_t>(level) * 2, ' '); }

void WriteString(std::string& out, const std::string& text) {
  if (text.empty()) {
    out += "''";
    return;
  }
  bool quoted = false;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) {
      if (!quoted) out += '\'';
      quoted = true;
      out += c;
      if (c == '\'') out += '\'';
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#';
      out += std::to_string(u);
    }
  }
  if (quoted) out += '\'';
}

void WriteProperties(std::string& out, const std::vector<TFormProperty>& props, int level);

void WriteValue(std::string& out, const TFormValue& value, int level) {
  switch (value.Kind) {
    case TFormValueKind::Integer: out += std::to_string(value.Int); break;
    case TFormValueKind::String: WriteString(out, value.Text); break;
    case TFormValueKind::Ident: out += value.Text; break;
    case TFormValueKind::Set:
      out += '[';
      for (std::size_t i = 0; i < value.Names.size(); ++i) {
        if (i > 0) out += ", ";
        out += value.Names[i];
      }
      out += ']';
      break;
    case TFormValueKind::List:
      out += '(';
      for (const TFormValue& item : value.List) {
        out += '\n';
        Indent(out, level + 1);
        WriteValue(out, item, level + 1);
      }
      out += ')';
      break;
    case TFormValueKind::Collection:
      out += '<';
      for (const auto& item : value.Items) {
        out += '\n';
        Indent(out, level + 1);
        out += "item\n";
        WriteProperties(out, item, level + 2);
        Indent(out, level + 1);
        out += "end";
      }
      out += '>';
      break;
    case TFormValueKind::Binary: {
      static const char kHex[] = "0123456789ABCDEF";
      out += '{';
      for (std::size_t i = 0; i < value.Text.size(); ++i) {
        if (i % 32 == 0) {
          out += '\n';
          Indent(out, level + 1);
        }
        const auto u = static_cast<unsigned char>(value.Text[i]);
        out += kHex[u >> 4];
        out += kHex[u & 15];
      }
      out += '}';
      break;
    }
  }
}

void WriteProperties(std::string& out, const std::vector<TFormProperty>& props, int level) {
  for (const TFormProperty& p : props) {
    Indent(out, level);
    out += p.Name;
    out += " = ";
    WriteValue(out, p.Value, level);
    out += '\n';
  }
}

void WriteNode(std::string& out, const TFormNode& node, int level) {
  Indent(out, level);
  out += "object ";
  if (!node.Name.empty()) {
    out += node.Name;
    out += ": ";
  }
  out += node.ClassName;
  out += '\n';
  WriteProperties(out, node.Properties, level + 1);
  for (const TFormNode& child : node.Children) WriteNode(out, child, level + 1);
  Indent(out, level);
  out += "end\n";
}

}  // namespace

bool TFormValue::operator==(const TFormValue& other) const {
  return Kind == other.Kind && Int == other.Int && Text == other.Text && Names == other.Names &&
         List == other.List && Items == other.Items;
}

TFormParseResult ParseFormText(std::string_view text, const TAssetResolver& resolveAsset) {
  TFormParseResult result;
  if (text.size() > kMaxFormTextBytes) {
    result.Error = "form description larger than " + std::to_string(kMaxFormTextBytes) + " bytes";
    return result;
  }
  TParser parser(text, resolveAsset);
  try {
    result.Root = parser.ParseRoot();
    result.Ok = true;
  } catch (const TParseError& e) {
    result.Error = e.What;
  }
  return result;
}

std::string WriteFormText(const TFormNode& root) {
  std::string out;
  WriteNode(out, root, 0);
  return out;
}

}  // namespace bw::core
