// The special account's full history view of 20,000 records, without the one-second settle wait:
// writing the file, reading it back, growing the grid, the layout, parsing and filling every row.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QTableView>
#include <QTreeWidget>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "text/GbkText.h"
#include "tips/TipsController.h"

namespace {

using qarnis::text::Utf8ToGbk;

std::string HistoryText(int records) {
  static const char* kResults[] = {"赢", "赢半", "走", "输", "输半"};
  std::string out;
  for (int i = records; i >= 1; --i) {
    const std::string k = std::to_string(i);
    out += Utf8ToGbk("英超联赛，2024-05-01 20:00，阿森纳" + k + "，2:1，切尔西" + k +
                     "，0.85|半球|1.05，2.10|3.20|3.50，亚盘，欧赔，05-01 18:00，12，21，完场，" +
                     kResults[i % 5] + "，") +
           "\\\\Qarnis//" + Utf8ToGbk("主队近期状态出色，客队主力伤停较多，看好主队。") + "\r\n";
  }
  return out;
}

void BM_FillFullHistory(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  std::string folder = (std::filesystem::temp_directory_path() / "qarnis-bench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  QWidget window;
  window.resize(1018, 850);
  qarnis::tips::TipsWidgets w;
  w.recommendations = new QTreeWidget(&window);
  w.notices = new QTreeWidget(&window);
  w.historyGrid = new QTableView(&window);
  w.historyGrid->setGeometry(5, 340, 999, 336);
  for (QLabel** label :
       {&w.total, &w.recent, &w.win, &w.halfWin, &w.push, &w.loss, &w.halfLoss, &w.rateCaption, &w.rate}) {
    *label = new QLabel(&window);
  }
  qarnis::tips::TipsHooks hooks;
  hooks.accountName = [] { return std::string("mossfield4"); };
  hooks.historyFile = folder + "/LTLiShiJiLu.txt";
  hooks.noticesFile = folder + "/LTLiShiGongGao.txt";
  hooks.settleSteps = 0;
  qarnis::tips::TipsController controller(w, std::move(hooks), &window);
  controller.ApplyHistoryGridLayout(51);
  window.show();
  QApplication::processEvents();
  const std::string text = HistoryText(records);

  for (auto _ : state) {
    controller.historyHolder = text;
    controller.FillFullHistory();
    QApplication::processEvents();  // the view takes the new rows and paints
  }
  state.counters["rows"] = controller.HistoryModel()->rowCount() - 1;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FillFullHistory)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
