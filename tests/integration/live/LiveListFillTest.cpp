// The fetch loop against the demo feed server process, filling the live list model on the window thread.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTableView>

#include "ToolProcess.h"
#include "live/FetchLoop.h"
#include "live/LiveListModel.h"

namespace qarnis::live {
namespace {

bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

TEST(LiveListFillTest, TheDemoFeedsFillTheLiveList) {
  const int port = qarnis::testing::FreePort();
  qarnis::testing::ToolProcess server(qarnis::testing::ToolPath("qarnis_demo_feed_server"),
                                      {"--port", std::to_string(port), "--matches", "120"});
  ASSERT_TRUE(qarnis::testing::WaitForPort(port, 30000));

  LiveListModel model;
  QTableView view;
  SetUpLiveList(&view, &model);
  LiveFeedThread thread;
  FetchSettings settings;
  settings.host = "127.0.0.1:" + std::to_string(port);
  thread.Start([&](LiveFeedThread& t) { RunFetchLoop(t, settings, MakeLiveHandOver(&model, t)); });

  ASSERT_TRUE(ProcessEventsUntil([&] { return model.rowCount() >= 120; }));
  EXPECT_EQ(model.rowCount(), 120);
  for (int row : {0, 60, 119}) {
    EXPECT_EQ(model.index(row, 0).data().toString(), QString::number(row + 1));
    for (int column = 1; column < 10; ++column)
      EXPECT_FALSE(model.index(row, column).data().toString().isEmpty()) << row << "," << column;
    EXPECT_EQ(model.index(row, 6).data().toString().count(QLatin1Char('|')), 2);
    EXPECT_FALSE(model.index(row, 3).data().toString().contains(QLatin1Char('<')));
  }
  // Chinese names come through the GBK feed intact.
  bool chinese = false;
  for (QChar c : model.index(0, 3).data().toString()) chinese = chinese || c.unicode() >= 0x4E00;
  EXPECT_TRUE(chinese);

  thread.Stop();
  EXPECT_EQ(server.Stop(), 0);
}

}  // namespace
}  // namespace qarnis::live
