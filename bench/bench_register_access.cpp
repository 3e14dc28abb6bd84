// A register read through the loaded simulated board, and the conversions and texts that turn
// register codes into what the windows show.
#include "SimulatedBoardLoader.h"
#include "board/USBStuff.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"

#include <benchmark/benchmark.h>

static void BM_ReadRegisterThroughTheLibrary(benchmark::State& state) {
    auto driver = LoadBoard();
    for (auto _ : state) benchmark::DoNotOptimize(USBStuff::ReadRegister(0x4C, 0x01));
    USBStuff::SetDriver(nullptr);
}
BENCHMARK(BM_ReadRegisterThroughTheLibrary);

static void BM_WriteRegisterThroughTheLibrary(benchmark::State& state) {
    auto driver = LoadBoard();
    int32_t data = 0x55;
    for (auto _ : state) benchmark::DoNotOptimize(USBStuff::WriteRegister(0x4C, 0x0B, data));
    USBStuff::SetDriver(nullptr);
}
BENCHMARK(BM_WriteRegisterThroughTheLibrary);

static void BM_DecodeTemperatures(benchmark::State& state) {
    RegMapStuff::ExtendedRange = true;
    int code = 0;
    for (auto _ : state) {
        code = (code + 37) & 0xFF;
        benchmark::DoNotOptimize(GeneralStuff::TempFromCode(code));
        benchmark::DoNotOptimize(GeneralStuff::TempFromCodes(code, code << 2 & 0xC0));
        benchmark::DoNotOptimize(GeneralStuff::OffsetFromCodes(code, 0x40));
    }
}
BENCHMARK(BM_DecodeTemperatures);

static void BM_EncodeTemperatures(benchmark::State& state) {
    RegMapStuff::ExtendedRange = true;
    double t = -64;
    for (auto _ : state) {
        t = t > 190 ? -64 : t + 0.37;
        benchmark::DoNotOptimize(GeneralStuff::CodeFromTemp(t));
        benchmark::DoNotOptimize(GeneralStuff::CodesFromTemp(t));
        benchmark::DoNotOptimize(GeneralStuff::CodesFromOffset(t / 2));
    }
}
BENCHMARK(BM_EncodeTemperatures);

static void BM_NumberTexts(benchmark::State& state) {
    float t = 25.25f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GeneralStuff::NumberText(t));
        float v = t;
        benchmark::DoNotOptimize(GeneralStuff::TwoDecimalText(v));
        benchmark::DoNotOptimize(GeneralStuff::HexText(200));
    }
}
BENCHMARK(BM_NumberTexts);

static void BM_ParseNumber(benchmark::State& state) {
    const std::string texts[] = {"100", "-2.75", "&HFF", " 1 2 ms", "1.5E3"};
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(GeneralStuff::ParseNumber(texts[i++ % 5]));
}
BENCHMARK(BM_ParseNumber);

BENCHMARK_MAIN();
