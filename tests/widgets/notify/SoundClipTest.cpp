#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>
#include <vector>

#include "ChimeWave.h"
#include "notify/QtSoundPlayer.h"

namespace {

using qarnis::notify::NotificationClipResource;

QByteArray EmbeddedClip() {
  QFile file(NotificationClipResource());
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

TEST(SoundClip, TheEmbeddedClipIsTheStereo16BitChimeOf50044Bytes) {
  const QByteArray clip = EmbeddedClip();
  ASSERT_EQ(clip.size(), 50044) << "missing from the resources, or the wrong size";
  struct Tag {
    int at;
    const char* text;
  };
  for (const Tag& tag : {Tag{0, "RIFF"}, Tag{8, "WAVE"}, Tag{12, "fmt "}, Tag{36, "data"}}) {
    EXPECT_EQ(clip.mid(tag.at, 4), QByteArray(tag.text)) << "at " << tag.at;
  }
  auto u16 = [&](int at) { return qFromLittleEndian<quint16>(clip.constData() + at); };
  auto u32 = [&](int at) { return qFromLittleEndian<quint32>(clip.constData() + at); };
  struct Field {
    const char* what;
    quint32 value;
    quint32 expected;
  };
  const std::vector<Field> fields = {
      {"RIFF size", u32(4), 50036}, {"fmt size", u32(16), 16}, {"PCM", u16(20), 1},
      {"channels", u16(22), 2},     {"rate", u32(24), 11025},  {"byte rate", u32(28), 44100},
      {"block align", u16(32), 4},  {"bits", u16(34), 16},     {"data size", u32(40), 50000},
  };
  for (const Field& f : fields) EXPECT_EQ(f.value, f.expected) << f.what;

  const auto made = qarnis::chime::MakeChimeWav();
  EXPECT_EQ(clip, QByteArray(reinterpret_cast<const char*>(made.data()), static_cast<qsizetype>(made.size())))
      << "the program holds what the generator makes";
}

TEST(SoundClip, PlayingWithOrWithoutASoundDeviceReturnsAtOnce) {
  qarnis::notify::QtSoundPlayer player;
  for (int i = 0; i < 3; ++i) player.PlayNotification();  // no hang, no crash, no message box
  SUCCEED();
}

}  // namespace
