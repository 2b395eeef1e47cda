// The date sort of the main list, next to the step-by-step quadratic sort it replaces, and
// the memory a stored record costs in a list.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <random>

#include "core/date_sort.h"
#include "support/literal_date_sort.h"
#include "support/record_builders.h"

namespace {

using namespace qv;

void FillRandom(TimeRecordList& list, int n) {
    std::mt19937 rng(42);
    for (int i = 0; i < n; ++i) {
        list.Append(testing::MakeRecord(
            static_cast<uint32_t>(i), static_cast<uint16_t>(2000 + rng() % 6),
            static_cast<uint16_t>(1 + rng() % 12), static_cast<uint16_t>(1 + rng() % 28),
            static_cast<int>(10 + rng() % 1420), u"Meeting", u"weekly review"));
    }
}

// The first sort of a run: the buffer is empty and every copy is new.
void BM_SortByDate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TimeRecordList records, buffer;
        FillRandom(records, static_cast<int>(state.range(0)));
        state.ResumeTiming();
        benchmark::DoNotOptimize(SortByDate(records, buffer, 1));
        state.PauseTiming();
        records.Clear();
        buffer.Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortByDate)->Arg(1000)->Arg(10000)->Arg(65535)->Unit(benchmark::kMillisecond);

// Every later sort (after each command, each header tap): the buffer holds the last copies.
void BM_SortByDateAgain(benchmark::State& state) {
    TimeRecordList records, buffer;
    FillRandom(records, static_cast<int>(state.range(0)));
    SortByDate(records, buffer, 0);
    uint32_t order = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SortByDate(records, buffer, order));
        order = 1 - order;
    }
}
BENCHMARK(BM_SortByDateAgain)->Arg(1000)->Arg(10000)->Arg(65535)->Unit(benchmark::kMillisecond);

void BM_LiteralSortByDate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TimeRecordList records, buffer;
        FillRandom(records, static_cast<int>(state.range(0)));
        state.ResumeTiming();
        benchmark::DoNotOptimize(testing::LiteralSortByDate(records, buffer, 1));
        state.PauseTiming();
        records.Clear();
        buffer.Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LiteralSortByDate)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralSortByDate)->Arg(65535)->Iterations(1)->Unit(benchmark::kMillisecond);

// Memory per record of a list holding 65,535 records with a typical category and memo: the
// record's place in the pool of records, and the heap bytes of every text it owns. The pool
// keeps its blocks once made, so it is filled once beforehand and only the texts are counted
// on the heap.
void BM_BytesPerStoredRecord(benchmark::State& state) {
    {
        TimeRecordList warm;
        FillRandom(warm, 65535);
    }
    size_t perRecord = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        {
            TimeRecordList list;
            FillRandom(list, 65535);
            perRecord = sizeof(TimeRecord) + (mallinfo2().uordblks - before) / 65535;
        }
    }
    state.counters["bytes_per_record"] = static_cast<double>(perRecord);
    state.counters["sizeof_TimeRecord"] = sizeof(TimeRecord);
}
BENCHMARK(BM_BytesPerStoredRecord)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
