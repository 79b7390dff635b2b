#include "tips/TipRecords.h"

#include <algorithm>

#include "text/GbkText.h"

namespace qarnis::tips {

namespace {

template <std::size_t N>
void FillFields(std::array<std::string, N>& fields, std::string_view line) {
  const std::vector<std::string_view> pieces = text::SplitViews(line, kFieldComma);
  const std::size_t count = std::min(N, pieces.size());
  for (std::size_t i = 0; i < count; ++i) fields[i].assign(pieces[i]);
}

}  // namespace

std::string_view ReasonsOf(std::string_view line) {
  const std::size_t first = text::Find(line, kRecordMarker);
  if (first == std::string_view::npos) return {};
  const std::size_t begin = first + kRecordMarker.size();
  const std::size_t next = text::Find(line, kRecordMarker, begin);
  return line.substr(begin, next == std::string_view::npos ? std::string_view::npos : next - begin);
}

TipRecord ParseTipRecord(std::string_view line) {
  TipRecord record;
  FillFields(record.fields, line);
  record.reasons.assign(ReasonsOf(line));
  return record;
}

HistoryRecord ParseHistoryRecord(std::string_view line) {
  HistoryRecord record;
  FillFields(record.fields, line);
  record.reasons.assign(ReasonsOf(line));
  record.result = ClassifyResult(record.fields[kResult]);
  return record;
}

NoticeRecord ParseNoticeRecord(std::string_view line) {
  NoticeRecord record;
  const std::vector<std::string_view> pieces = text::SplitViews(line, kNoticeSep);
  if (pieces.size() > 0) record.text.assign(pieces[0]);
  if (pieces.size() > 1) record.led.assign(pieces[1]);
  if (pieces.size() > 2) record.time.assign(pieces[2]);
  return record;
}

namespace {
// GBK bytes of 赢, 赢半, 走, 输, 输半.
constexpr std::string_view kWin = "\xD3\xAE";
constexpr std::string_view kHalfWin = "\xD3\xAE\xB0\xEB";
constexpr std::string_view kPush = "\xD7\xDF";
constexpr std::string_view kLoss = "\xCA\xE4";
constexpr std::string_view kHalfLoss = "\xCA\xE4\xB0\xEB";
}  // namespace

ResultWord ClassifyResult(std::string_view field13) {
  if (field13 == kWin) return ResultWord::kWin;
  if (field13 == kHalfWin) return ResultWord::kHalfWin;
  if (field13 == kPush) return ResultWord::kPush;
  if (field13 == kLoss) return ResultWord::kLoss;
  if (field13 == kHalfLoss) return ResultWord::kHalfLoss;
  return ResultWord::kNone;
}

std::string_view ResultWordText(ResultWord word) {
  switch (word) {
    case ResultWord::kWin:
      return kWin;
    case ResultWord::kHalfWin:
      return kHalfWin;
    case ResultWord::kPush:
      return kPush;
    case ResultWord::kLoss:
      return kLoss;
    case ResultWord::kHalfLoss:
      return kHalfLoss;
    case ResultWord::kNone:
      break;
  }
  return {};
}

}  // namespace qarnis::tips
