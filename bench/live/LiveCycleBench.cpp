// One live-feed cycle on 2,000 matches: parsing, the join (one-pass and plain), the handicap words, and the
// live list model applying 2,000 rows.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTableView>

#include "FeedGenerator.h"
#include "live/HandicapWords.h"
#include "live/LiveFeed.h"
#include "live/LiveListModel.h"

namespace {

constexpr int kMatches = 2000;
constexpr long long kStart = 1430000000;

struct Feeds {
  std::string odds;
  std::string matches;
};

const Feeds& CycleFeeds() {
  static const Feeds feeds = [] {
    const qarnis::demo::FeedGenerator generator(qarnis::demo::BuiltInFeedNames(), kMatches, kStart);
    return Feeds{generator.OddsBody(kStart + 1800), generator.MatchBody(kStart + 1800)};
  }();
  return feeds;
}

void BM_ParseAndJoin(benchmark::State& state) {
  const Feeds& feeds = CycleFeeds();
  for (auto _ : state) {
    const auto items = qarnis::live::ExtractOddsItems(feeds.odds);
    benchmark::DoNotOptimize(qarnis::live::BuildLiveMatches(items, feeds.matches));
  }
  state.counters["odds_bytes"] = static_cast<double>(feeds.odds.size());
  state.counters["match_bytes"] = static_cast<double>(feeds.matches.size());
}
BENCHMARK(BM_ParseAndJoin)->Unit(benchmark::kMillisecond);

void BM_ParseAndJoinPlain(benchmark::State& state) {
  const Feeds& feeds = CycleFeeds();
  for (auto _ : state) {
    const auto items = qarnis::live::ExtractOddsItems(feeds.odds);
    benchmark::DoNotOptimize(qarnis::live::BuildLiveMatchesPlain(items, feeds.matches));
  }
}
BENCHMARK(BM_ParseAndJoinPlain)->Unit(benchmark::kMillisecond);

void BM_HandicapWords(benchmark::State& state) {
  std::vector<std::string> lines;
  for (int i = 0; i < kMatches; ++i) lines.push_back(std::to_string((i % 25 - 8) * 0.25));
  for (auto _ : state)
    for (const std::string& line : lines) {
      benchmark::DoNotOptimize(qarnis::live::Goal2GoalCn(line));
      benchmark::DoNotOptimize(qarnis::live::Goal2GoalCn2(line));
    }
}
BENCHMARK(BM_HandicapWords)->Unit(benchmark::kMillisecond);

std::vector<qarnis::live::LiveMatch> CycleMatches() {
  const Feeds& feeds = CycleFeeds();
  return qarnis::live::BuildLiveMatches(qarnis::live::ExtractOddsItems(feeds.odds), feeds.matches);
}

// A model shown in a view: the steady state, where every row of the cycle already exists.
void BM_ModelApplyExistingRows(benchmark::State& state) {
  const auto matches = CycleMatches();
  qarnis::live::LiveListModel model;
  QTableView view;
  qarnis::live::SetUpLiveList(&view, &model);
  view.resize(999, 651);
  view.show();
  for (const auto& m : matches) model.ApplyLiveMatch(m);
  QApplication::processEvents();
  for (auto _ : state) {
    for (const auto& m : matches) model.ApplyLiveMatch(m);
    state.PauseTiming();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(model.rowCount());
}
BENCHMARK(BM_ModelApplyExistingRows)->Unit(benchmark::kMillisecond);

// The first cycle: 2,000 rows inserted into an empty model shown in a view.
void BM_ModelApplyNewRows(benchmark::State& state) {
  const auto matches = CycleMatches();
  for (auto _ : state) {
    state.PauseTiming();
    auto model = std::make_unique<qarnis::live::LiveListModel>();
    QTableView view;
    qarnis::live::SetUpLiveList(&view, model.get());
    view.resize(999, 651);
    view.show();
    QApplication::processEvents();
    state.ResumeTiming();
    for (const auto& m : matches) model->ApplyLiveMatch(m);
    state.PauseTiming();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ModelApplyNewRows)->Unit(benchmark::kMillisecond);

// Painting the view after a cycle's updates: what the window thread does in the next frame.
void BM_ViewRepaintAfterCycle(benchmark::State& state) {
  const auto matches = CycleMatches();
  qarnis::live::LiveListModel model;
  QTableView view;
  qarnis::live::SetUpLiveList(&view, &model);
  view.resize(999, 651);
  view.show();
  for (const auto& m : matches) model.ApplyLiveMatch(m);
  QApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    for (const auto& m : matches) model.ApplyLiveMatch(m);
    state.ResumeTiming();
    view.viewport()->repaint();
  }
}
BENCHMARK(BM_ViewRepaintAfterCycle)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
