#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Messages.h"
#include "text/GbkText.h"

namespace qarnis::link {
namespace {

const std::string FS(FieldSep);

TEST(Catalogue, SeparatorsAreTheirExactBytes) {
  EXPECT_EQ(FieldSep, "\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC");
  EXPECT_EQ(FieldSep, text::Utf8ToGbk("，，，，，"));
  EXPECT_EQ(SubSep, "|||||");
}

TEST(Catalogue, RequestsAreJoinedExactlyAsTyped) {
  struct Case {
    std::string built, expected;
  };
  const std::string acc = text::Utf8ToGbk("张伟");
  const std::vector<Case> cases = {
      {LoginRequest("mossfield4", "pw"), "QARNYongHuDengLu" + FS + "mossfield4|||||pw"},
      {LoginRequest(acc, " p w "), "QARNYongHuDengLu" + FS + acc + "||||| p w "},
      {LoginRequest("a|||||b", "c"), "QARNYongHuDengLu" + FS + "a|||||b|||||c"},
      {KeepAliveRequest(), "cs"},
      {RegistrationRequest("u", "p", "e@x", "139"), "QARNZhuCeDeZhangHao" + FS + "u|||||p|||||e@x|||||139"},
      {PasswordChangeRequest(1, "u", "e@x", "139", "np"), "QARNXiuGaiMiMa" + FS + "u|||||e@x|||||np|||||139"},
      {PasswordChangeRequest(2, "u", "e@x", "139", "np"), "QARNXiuGaiMiMa" + FS + "u|||||e@x|||||np"},
      {PasswordChangeRequest(3, "u", "e@x", "139", "np"), "QARNXiuGaiMiMa" + FS + "u|||||139|||||np"},
      {PasswordChangeByEmailAndMobile("u", "e", "n", "m"), "QARNXiuGaiMiMa" + FS + "u|||||e|||||n|||||m"},
      {PasswordChangeByEmail("u", "e", "n"), "QARNXiuGaiMiMa" + FS + "u|||||e|||||n"},
      {PasswordChangeByMobile("u", "m", "n"), "QARNXiuGaiMiMa" + FS + "u|||||m|||||n"},
      {PasswordChangeRequest(4, "u", "e", "m", "n"), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.built, c.expected);
}

TEST(Catalogue, CutReplyFollowsTheSplitRule) {
  struct Case {
    const char* name;
    std::string text;
    bool hadSeparator;
    std::vector<std::string> fields;
  };
  const std::string comma = "\xA3\xAC";
  const std::string chinese = text::Utf8ToGbk("推介");
  const std::vector<Case> cases = {
      {"whole text", "QARNYiJingDengLuLeNo", false, {"QARNYiJingDengLuLeNo"}},
      {"empty", "", false, {}},
      {"adjacent separators", "SouCiDengLu" + FS + "A" + FS + FS + "C", true, {"SouCiDengLu", "A", "", "C"}},
      {"trailing separator adds nothing", "LiShiGongGao" + FS, true, {"LiShiGongGao"}},
      {"separator first gives empty field 0", FS + "x", true, {"", "x"}},
      {"six commas: one separator and a comma", "K" + FS + comma + "v", true, {"K", comma + "v"}},
      {"Chinese field kept as bytes", "ShuJuTuiSong" + FS + chinese, true, {"ShuJuTuiSong", chinese}},
      // A3 inside a two-byte character must not start a separator: B0 A3 is one character.
      {"separator only on a character boundary",
       "K\xB0" + FS.substr(0, 9),
       false,
       {"K\xB0" + FS.substr(0, 9)}},
  };
  for (const Case& c : cases) {
    const ReplyFields f = CutReply(c.text);
    EXPECT_EQ(f.HadSeparator(), c.hadSeparator) << c.name;
    EXPECT_EQ(f.All(), c.fields) << c.name;
  }
}

TEST(Catalogue, MissingFieldsReadEmpty) {
  const ReplyFields f = CutReply("LiShiGongGao" + FS);
  EXPECT_EQ(f.Count(), 1u);
  EXPECT_EQ(f[1], "");
  EXPECT_EQ(f.Field(40), "");
  EXPECT_EQ(ReplyFields().Keyword(), "");
}

}  // namespace
}  // namespace qarnis::link
