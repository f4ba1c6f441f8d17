// The chat round trips in the script of the ANSI code page that Wine gave this process (from its
// Unix locale): the user's name, other speakers' lines longer than the transcript tail that the
// tool reads, commands right after them, rooms joined by command and by name, and "/sysinfo".
// roomsim and the tool, started from here, run in the same code page.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "aim/chat_window.h"
#include "platform/win32/win32_codepage.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_shell.h"
#include "support/room_and_tool.h"

namespace e2e {
namespace {

struct Script {
  UINT codePage;
  const wchar_t* user;     // with capitals or a blank where the script has them
  const wchar_t* userKey;  // the tool's name of the user: lower case, no blanks
  const wchar_t* other;
  const wchar_t* text;  // repeated into lines longer than the tail of 500 characters
  const wchar_t* room;  // typed with capitals and a blank where the script has them
  const wchar_t* roomInLink;
};

// The Japanese lines mix lead bytes of both of 932's ranges (0x81-0x9F, 0xE0-0xFC) and trail
// bytes that are "\" and "[" in ASCII.
const Script kScripts[] = {
    {932, L"鸚鵡 凜", L"鸚鵡凜", L"熙堯", L"烽焉焙焜煌煕煖堯ソ表凜熙鸚ふくろう", L"遙 ソ表ロビー",
     L"遙ソ表ロビー"},
    {936, L"夜猫子 李", L"夜猫子李", L"王小明", L"你好世界大厅北京欢迎", L"北京 大厅", L"北京大厅"},
    {949, L"올빼미 김", L"올빼미김", L"박지성", L"안녕하세요서울방환영", L"서울 방", L"서울방"},
    {1251, L"Ночная Сова", L"ночнаясова", L"Иван", L"Привет из Москвы ", L"КРАСНАЯ Площадь",
     L"краснаяплощадь"},
    {1252, L"Zoë Ñandú", L"zoëñandú", L"Renée", L"Ça va très bien ", L"Café Ünïon", L"caféünïon"},
    {65001, L"Ночь 夜 올빼미", L"ночь夜올빼미", L"熙堯", L"Привет 你好 안녕 ", L"Ünïon 北京",
     L"ünïon北京"},
};

// A link as the aim: handler got it, %XX escapes decoded; "<raw ...>" when it holds a character
// that a link may not carry raw, such as a quote, a blank or a byte outside ASCII.
std::string Decoded(const std::string& link) {
  constexpr char kSafe[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._~!$&'()*+,;=:@/?%";
  if (link.find_first_not_of(kSafe) != std::string::npos) return "<raw " + link + ">";
  std::string out;
  for (std::size_t i = 0; i < link.size(); ++i) {
    out +=
        link[i] != '%' ? link[i] : static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16));
    if (link[i] == '%') i += 2;
  }
  return out;
}

const Script* ScriptOfThisCodePage() {
  for (const Script& script : kScripts) {
    if (script.codePage == GetACP()) return &script;
  }
  return nullptr;
}

class ToolLocaleE2E : public RoomAndTool {
 protected:
  explicit ToolLocaleE2E(const Script* script = ScriptOfThisCodePage())
      : RoomAndTool(Ansi(script ? script->user : L"Night Owl"),
                    Ansi(script ? script->userKey : L"nightowl")) {}

  // A line of another speaker of at least 520 characters, `extra` ASCII characters longer.
  static bool SayLongLine(const Script& script, int extra) {
    std::wstring line;
    while (line.size() < 520) line += script.text;
    return room::SayAsOther(Ansi(script.other), Ansi(line + std::wstring(extra, L'.')));
  }
};

TEST_F(ToolLocaleE2E, RoundTripsInTheScriptOfTheCodePage) {
  // A missing Unix locale gives Wine's default code page, which must not pass for the one wanted.
  if (const char* wanted = std::getenv("TV_CODE_PAGE")) {
    ASSERT_EQ(std::to_string(GetACP()), wanted);
  }
  const Script* script = ScriptOfThisCodePage();
  if (script == nullptr) GTEST_SKIP() << "no script for code page " << GetACP();
  // The tail as the tool reads it, through the real code page: the end of the whole text, whatever
  // character the byte where its conversion starts falls in.
  tv::platform::Win32Desktop desktop;
  tv::platform::Win32Shell shell;
  const tv::platform::Win32CodePage codePage;
  const std::wstring text = script->text;
  for (std::size_t shift = 0; shift <= text.size(); ++shift) {
    std::wstring transcript;
    while (transcript.size() < 600) transcript += text;
    transcript += text.substr(0, shift) + L".";
    ASSERT_TRUE(room::SetTranscript(Ansi(transcript)));
    const std::wstring tail = tv::aim::GetTranscriptTail({desktop, shell, codePage});
    EXPECT_TRUE(tail == transcript.substr(transcript.size() - tv::aim::kTranscriptTailLength))
        << "shift " << shift << ", tail begins " << Ansi(tail.substr(0, 10));
  }
  ASSERT_TRUE(room::SetTranscript(""));

  ASSERT_TRUE(room::SayAsOther(Ansi(script->other), Ansi(script->text)));
  ASSERT_TRUE(SayLongLine(*script, 0));
  // The user's half-typed line is back in the input box, byte for byte, after the tool's lines.
  ASSERT_TRUE(Roomsim::SetDraft(Ansi(script->text)));
  ASSERT_TRUE(StartScan()) << Roomsim::Transcript();
  EXPECT_TRUE(Said(Ansi(L"[Found User '" + std::wstring(script->user) + L"']")));
  EXPECT_EQ(Roomsim::Draft(), Ansi(script->text));

  // The tail's cut falls inside the long line, in the middle of a character for one of the two.
  for (const int extra : {0, 1}) {
    ASSERT_TRUE(SayLongLine(*script, extra));
    EXPECT_EQ(Reply("/csoff"), "[Chatsends Off]") << extra;
    ASSERT_TRUE(SayLongLine(*script, extra));
    EXPECT_EQ(Reply("/cson"), "[Chatsends On]") << extra;
  }

  // Rooms: capitals typed are lower-cased and blanks closed up, in the reply and in the link's
  // bytes as the aim: handler received them, each byte outside ASCII percent-encoded.
  std::wstring joined = script->room;
  std::erase(joined, L' ');
  EXPECT_EQ(Reply("/JOIN " + Ansi(joined) + " 4"),
            "[Joining Chat '" + Ansi(script->roomInLink) + "' Ex.4]");
  const std::string roomInLink = "aim:gochat?roomname=" + Ansi(script->roomInLink);
  EXPECT_EQ(Decoded(Links(1).at(0)), roomInLink + "&exchange=4");
  ASSERT_TRUE(tool.SetText(app::kTxtChat, Ansi(script->room)) && tool.SetText(app::kTxtEX, "5") &&
              tool.Click(app::kCmdJoin));
  EXPECT_EQ(Decoded(Links(2).back()), roomInLink + "&exchange=5");
  // Pasted look-alikes of a quote and a blank: a code page that holds them has their bytes
  // encoded, one link with no quote or blank in it; one that lacks them joins nothing, rather than
  // let best fit turn them into a quote and a blank on the handler's command line.
  const std::wstring pasted = L"ab\uFF02\u3000--opt\u3000\uFF02cd";
  ASSERT_TRUE(tool.SetText(app::kTxtChat, pasted) && tool.Click(app::kCmdJoin));
  if (script->codePage == 1251 || script->codePage == 1252) {
    EXPECT_FALSE(tool.Text(app::kTxtChat).empty());
    EXPECT_TRUE(Stays([&] { return Links(0).size() == 2; }));
  } else {
    EXPECT_EQ(Decoded(Links(3).back()), "aim:gochat?roomname=" + Ansi(pasted) + "&exchange=5");
  }

  ASSERT_TRUE(WaitFor([] { return FindWindowA("AIM_ChatWnd", nullptr) != nullptr; }));
  const std::string line = Reply("/sysinfo");
  EXPECT_TRUE(std::regex_match(line, SystemInfoLine())) << line;
}

}  // namespace
}  // namespace e2e
