#pragma once
// The pictures of the tips views, drawn in code: one 36 x 36 picture per result word and the 80 x 30
// highlight that marks a recommended option.
#include <QPixmap>

#include "tips/TipRecords.h"

namespace qarnis::tips {

inline constexpr int kResultPictureSize = 36;
inline constexpr int kHighlightWidth = 80;
inline constexpr int kHighlightHeight = 30;

// A null pixmap for ResultWord::kNone. Built once and shared.
const QPixmap& ResultPicture(ResultWord word);
const QPixmap& HighlightPicture();

}  // namespace qarnis::tips
