#pragma once
// Form descriptions as text, parsed to a tree and written back, with no components
// involved (the build step and the reader share this). The grammar:
//
//   object Form1: TForm1              nested objects: `object Name: TClass ... end`
//     Left = 12                       integer (decimal, or $hex for a bit pattern)
//     Caption = 'It''s'#13#10'ok'     quoted text: '' is a quote, #n a byte by its number;
//     Hint = 'first half ' +            pieces join, across lines with +
//       'second half'
//     Visible = False                 identifier: enumeration value, boolean, colour,
//     Font.Style = [fsBold]             component or method name; a set in brackets
//     Items.Strings = ('a' 'b')       a list of values
//     Panels = <item Text = 'x' end>  a collection: items with their properties
//     Glyph.Data = {424D3600}         binary data in hexadecimal
//     Picture.Data = @file('pictures/initial.bmp')   an asset, resolved when parsing
//   end
//
// Text is 8-bit and taken byte for byte; the writer puts every byte outside printable
// ASCII as #n, so a description written back reads to the same values.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bw::core {

enum class TFormValueKind : std::uint8_t { Integer, String, Ident, Set, List, Collection, Binary };

struct TFormProperty;

struct TFormValue {
  TFormValueKind Kind = TFormValueKind::Integer;
  std::int32_t Int = 0;
  std::string Text;                               // String, Ident, Binary (bytes)
  std::vector<std::string> Names;                 // Set members
  std::vector<TFormValue> List;                   // List items
  std::vector<std::vector<TFormProperty>> Items;  // Collection items
  bool operator==(const TFormValue&) const;
};

struct TFormProperty {
  std::string Name;  // dotted path: Font.Name
  TFormValue Value;
  bool operator==(const TFormProperty&) const = default;
};

struct TFormNode {
  std::string Name;  // may be empty
  std::string ClassName;
  std::vector<TFormProperty> Properties;  // in stored order
  std::vector<TFormNode> Children;
  bool operator==(const TFormNode&) const = default;
};

// Size caps of the parser (outside data: the tests and the fuzzer feed it anything).
inline constexpr std::size_t kMaxFormTextBytes = std::size_t{64} << 20;
inline constexpr int kMaxFormNestingDepth = 64;

// Answers an asset's bytes for @file('path'); nullopt when it cannot be read.
using TAssetResolver = std::function<std::optional<std::string>(const std::string& path)>;

struct TFormParseResult {
  bool Ok = false;
  TFormNode Root;
  std::string Error;  // "line N: what is wrong" when not Ok
};

// Parses one top-level object. Without a resolver an @file reference is an error.
TFormParseResult ParseFormText(std::string_view text, const TAssetResolver& resolveAsset = {});
std::string WriteFormText(const TFormNode& root);

}  // namespace bw::core
