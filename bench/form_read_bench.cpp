// Reading a form whose description carries a skin-sized binary property (85,590
// bytes, written as hexadecimal), next to the baseline of copying the same text once.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "framework/core/FormText.h"

namespace {

std::string MakeDescription() {
  bw::core::TFormNode root;
  root.Name = "Form1";
  root.ClassName = "TForm1";
  bw::core::TFormNode skin;
  skin.Name = "SkinData1";
  skin.ClassName = "TSkinData";
  bw::core::TFormProperty data;
  data.Name = "SkinStream";
  data.Value.Kind = bw::core::TFormValueKind::Binary;
  std::mt19937 random(7);
  for (int i = 0; i < 85590; ++i) data.Value.Text += static_cast<char>(random());
  skin.Properties.push_back(data);
  root.Children.push_back(skin);
  return bw::core::WriteFormText(root);
}

const std::string& Description() {
  static const std::string text = MakeDescription();
  return text;
}

void BM_Baseline_CopyText(benchmark::State& state) {
  const std::string& text = Description();
  std::string copy(text.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Baseline_CopyText);

void BM_ParseFormText(benchmark::State& state) {
  const std::string& text = Description();
  for (auto _ : state) {
    bw::core::TFormParseResult r = bw::core::ParseFormText(text);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseFormText);

}  // namespace

BENCHMARK_MAIN();
