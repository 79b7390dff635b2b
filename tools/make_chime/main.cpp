// Writes the notification chime as a WAV file; the build embeds the result in the client.
#include <cstdio>
#include <string>

#include "ChimeWave.h"
#include "settings/FileIo.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qarnis_make_chime <output.wav>\n");
    return 2;
  }
  const auto wav = qarnis::chime::MakeChimeWav();
  if (!qarnis::settings::WriteWholeFileAtomically(argv[1], std::string(wav.begin(), wav.end()))) {
    std::fprintf(stderr, "qarnis_make_chime: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
