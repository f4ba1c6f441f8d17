// roomsim's behaviour without its windows: time stamps, the room's texts and parity with the
// tool's fake chat room, WM_GETTEXT's copy, the command line, aim: links, the hub's test commands
// and the aim: handler it may replace.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "aim/chat_window.h"
#include "aim_scheme.h"
#include "chat_room.h"
#include "fake_chat_room.h"
#include "gochat_link.h"
#include "hub_commands.h"
#include "options.h"
#include "roomsim_protocol.h"
#include "transcript_markup.h"

namespace roomsim {
namespace {

using namespace std::string_literals;

struct Tick {
  TimeOfDay wall;
  const char* stamp;
};

TEST(LineClockTest, StampsFollowTheWallClockButNeverRepeatOrGoBack) {
  // Lines within one second, a wall clock that falls behind the stamps or steps back, midnight.
  const Tick ticks[] = {
      {{10, 0, 0}, "10:00:00 AM"}, {{10, 0, 0}, "10:00:01 AM"},   {{10, 0, 0}, "10:00:02 AM"},
      {{10, 0, 2}, "10:00:03 AM"}, {{10, 0, 1}, "10:00:04 AM"},   {{10, 0, 9}, "10:00:09 AM"},
      {{13, 5, 9}, "1:05:09 PM"},  {{23, 59, 59}, "11:59:59 PM"}, {{23, 59, 59}, "12:00:00 AM"},
      {{0, 0, 5}, "12:00:05 AM"},
  };
  TimeOfDay wall;
  LineClock clock([&wall] { return wall; });
  for (const Tick& tick : ticks) {
    wall = tick.wall;
    EXPECT_EQ(clock.Next(), tick.stamp)
        << "wall " << FormatClock(tick.wall.hour, tick.wall.minute, tick.wall.second);
  }
  // A fixed clock moves a second per line, over midnight too.
  LineClock fixed = LineClock::Fixed({23, 59, 59});
  EXPECT_EQ((std::vector<std::string>{fixed.Next(), fixed.Next()}),
            (std::vector<std::string>{"11:59:59 PM", "12:00:00 AM"}));
}

std::string Own(const std::string& message, int second) {
  return FormatLine("Tester", message, true, FormatClock(10, 0, second));
}

TEST(ChatRoomTest, InputSendsAsTheUsersLineAndEveryChangeRepaints) {
  struct Step {
    std::function<void(ChatRoom&)> change;
    const char* input;
    std::string transcript;
  };
  const Step steps[] = {
      {[](ChatRoom& r) { r.SetInput("half typed"); }, "half typed", ""},
      {[](ChatRoom& r) { r.TypeAndSend("whole"); }, "", Own("whole", 1)},
      // The user's name does not make another speaker's line the user's.
      {[](ChatRoom& r) { r.SayAsOther("Tester", "hi"); }, "",
       Own("whole", 1) + FormatLine("Tester", "hi", false, "10:00:02 AM")},
      {[](ChatRoom& r) { r.SetTranscript("<BR>raw"); }, "", "<BR>raw"},
      {[](ChatRoom& r) { r.SetInput("x"); }, "x", "<BR>raw"},
      {[](ChatRoom& r) { r.SendInput(); }, "", "<BR>raw" + Own("x", 3)},
  };
  ChatRoom room("Tester", "Lobby", LineClock::Fixed({10, 0, 1}));
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const std::size_t revision = room.Revision();
    steps[i].change(room);
    EXPECT_EQ(room.Input(), steps[i].input) << "step " << i;
    EXPECT_EQ(room.Transcript(), steps[i].transcript) << "step " << i;
    EXPECT_NE(room.Revision(), revision) << "step " << i;
  }
}

TEST(CopyOutTest, FollowsGetTextRules) {
  struct Copy {
    const char* text;
    std::size_t size;
    std::size_t copied;
    const char* buffer;  // after the copy into "########"
  };
  const Copy cases[] = {
      {"hello", 6, 5, "hello"},    {"hello", 100, 5, "hello"}, {"hello", 5, 4, "hell"},
      {"hello", 3, 2, "he"},       {"hello", 1, 0, ""},        {"", 4, 0, ""},
      {"hello", 0, 0, "########"},
  };
  for (const Copy& c : cases) {
    std::string buffer(8, '#');
    EXPECT_EQ(CopyOut(c.text, buffer.data(), c.size), c.copied) << c.text << " " << c.size;
    EXPECT_STREQ(buffer.c_str(), c.buffer) << c.text << " " << c.size;
  }
  EXPECT_EQ(CopyOut("hello", nullptr, 10), 0u);
}

// The same events give the scanner the same transcript in roomsim and in the native fake room,
// so that a scenario that passes natively means the same under Wine.
TEST(FakeRoomParityTest, SameEventsGiveTheSameTranscript) {
  constexpr char kClear[] = "(the room is emptied)";
  // Speaker "" is the user.
  const std::vector<std::pair<std::string, std::string>> events = {
      {"", "[Tavik Varrow V.2][Searching User]"},
      {"Buddy", "hi all"},
      {"", "/help"},
      {"", ""},
      {"", "<b>/clear</b>"},
      {kClear, ""},
      {"Some One", "a: b > c"},
      {"", "/ct 5"},
  };
  tv::testing::FakeChatRoom fake("Tester", "Lobby");
  ChatRoom room("Tester", "Lobby", LineClock::Fixed({10, 0, 1}));
  EXPECT_EQ(room.Caption(), fake.desktop.Text(fake.chat));
  for (const auto& [speaker, message] : events) {
    if (speaker.empty()) {
      tv::aim::SendChatText(fake.Os(), std::wstring(message.begin(), message.end()));
      room.TypeAndSend(message);
    } else if (speaker == kClear) {
      tv::aim::SetTranscriptText(fake.Os(), L"");
      room.SetTranscript("");
    } else {
      fake.Say(speaker, message);
      room.SayAsOther(speaker, message);
    }
    ASSERT_EQ(room.Transcript(), fake.Transcript()) << "after \"" << message << "\"";
  }
  EXPECT_FALSE(room.Transcript().empty());
}

// user|room|link|link log|clock|register, or "error".
std::string Describe(const ParsedOptions& parsed) {
  if (!parsed.options) return parsed.error.empty() ? "error without a reason" : "error";
  const Options& o = *parsed.options;
  const std::string clock =
      o.clock ? FormatClock(o.clock->hour, o.clock->minute, o.clock->second) : "-";
  return o.userName + "|" + o.room + "|" + o.link.value_or("-") + "|" + o.linkLog.value_or("-") +
         "|" + clock + "|" + (o.registerScheme ? "register" : "-");
}

TEST(OptionsTest, ReadsValuesAfterEqualsOrAsTheNextArgument) {
  struct Case {
    std::vector<std::string> args;
    std::optional<std::string> variable;  // ROOMSIM_LINK_LOG
    const char* options;
  };
  const Case cases[] = {
      {{}, std::nullopt, "Tester|Lobby|-|-|-|-"},
      {{"--user", "Some Name", "--room=Main Lobby", "--link", "aim:x", "--link-log=C:\\l.txt",
        "--clock", "9:05:07", "--register"},
       std::nullopt,
       "Some Name|Main Lobby|aim:x|C:\\l.txt|9:05:07 AM|register"},
      {{"--link=aim:gochat?roomname=a=b", "--clock=23:59:59"},
       std::nullopt,
       "Tester|Lobby|aim:gochat?roomname=a=b|-|11:59:59 PM|-"},
      {{"--clock", "0:0:0"}, "env.txt", "Tester|Lobby|-|env.txt|12:00:00 AM|-"},
      {{"--link-log", "given.txt"}, "env.txt", "Tester|Lobby|-|given.txt|-|-"},
      {{}, "", "Tester|Lobby|-|-|-|-"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(ParseOptions(c.args, c.variable)), c.options) << c.options;
  }
}

TEST(OptionsTest, RejectsWhatItDoesNotKnowWithAReason) {
  std::vector<std::vector<std::string>> bad = {
      {"--user"},  {"--user="},   {"--room", ""},   {"--link"}, {"--link-log"},
      {"--clock"}, {"--users=x"}, {"--register=1"}, {"lobby"},  {"-u", "x"},
  };
  for (const char* clock : {"", "10", "10:00", "24:00:00", "10:60:00", "10:00:60", "10:00:00 ",
                            "a:00:00", "100:00:00", "10::00", "-1:00:00"}) {
    bad.push_back({"--clock", clock});
  }
  for (const auto& args : bad) {
    EXPECT_EQ(Describe(ParseOptions(args)), "error") << args.front() << " " << args.back();
  }
}

TEST(GoChatLinkTest, ReadsRoomAndExchangeOfRoomLinksOnly) {
  const std::pair<const char*, const char*> rooms[] = {
      // link, "room|exchange"
      {"aim:gochat?roomname=lobby&exchange=4", "lobby|4"},
      {"AIM:GoChat?RoomName=Lobby&Exchange=5", "Lobby|5"},
      // "&" and "?" inside a room name travel unescaped.
      {"aim:gochat?roomname=a&b?c&exchange=4", "a&b?c|4"},
      {"aim:gochat?roomname=x&exchange=1&exchange=2", "x&exchange=1|2"},
      {"aim:gochat?roomname=lobby&exchange=", "lobby|"},
      {"aim:gochat?roomname=lobby", "lobby|"},
      {"aim:gochat?roomname=the main lobby", "the main lobby|"},
      {"aim:gochat?roomname=lobby&exchange=room4", "lobby|room4"},
      {"aim:gochat?roomname=%22q%22%20x&exchange=%0A", "\"q\" x|\n"},
      {"aim:gochat?roomname=100%&exchange=4", "100%|4"},
      {"aim:gochat?roomname=a%zzb&exchange=4", "a%zzb|4"},
      {"aim:gochat?roomname=a%4&exchange=4", "a%4|4"},
  };
  for (const auto& [link, address] : rooms) {
    const auto parsed = ParseGoChatLink(link);
    EXPECT_EQ(parsed ? parsed->room + "|" + parsed->exchange : "rejected", address) << link;
  }
  for (const char* link :
       {"", "aim:", "aim:gochat", "aim:gochat?roomname=", "aim:gochat?roomname=&exchange=4",
        "aim:goim?screenname=x", "http://example.invalid/?roomname=lobby&exchange=4",
        " aim:gochat?roomname=lobby&exchange=4"}) {
    EXPECT_FALSE(ParseGoChatLink(link).has_value()) << link;
  }
}

// Records each call as "Name(arg|arg)" and answers as it was made to.
class RecordingHost final : public RoomHost {
 public:
  explicit RecordingHost(bool answer) : answer_(answer) {}
  bool SayAsOther(std::string_view speaker, std::string_view message) override {
    return Record("SayAsOther", std::string(speaker) + "|" + std::string(message));
  }
  bool TypeAsUser(std::string_view message) override { return Record("TypeAsUser", message); }
  bool SetTranscript(std::string_view markup) override { return Record("SetTranscript", markup); }
  bool OpenLink(std::string_view link) override { return Record("OpenLink", link); }
  std::vector<std::string> calls;

 private:
  bool Record(const char* name, std::string_view args) {
    calls.push_back(name + ("(" + std::string(args) + ")"));
    return answer_;
  }
  bool answer_;
};

TEST(RunCopyDataCommandTest, RoutesEachCommandAndPassesOnTheHostsAnswer) {
  struct Case {
    std::uintptr_t command;
    std::string data;
    std::string call;  // empty: refused without calling the host
  };
  const Case cases[] = {
      {kSayAsOther, "Buddy\nline\nbreak", "SayAsOther(Buddy|line\nbreak)"},
      {kSayAsOther, "Buddy\n", "SayAsOther(Buddy|)"},
      {kSayAsOther, "no newline", ""},
      {kSayAsOther, "\nno speaker", ""},
      {kTypeAsUser, "", "TypeAsUser()"},
      {kTypeAsUser, "hi\0"s, "TypeAsUser(hi)"},  // a sender that counted the terminating NUL
      {kSetTranscript, "a\0b"s, "SetTranscript(a\0b)"s},
      {kOpenLink, "aim:gochat?roomname=a", "OpenLink(aim:gochat?roomname=a)"},
      {99, "x", ""},
  };
  for (const Case& c : cases) {
    for (const bool agrees : {true, false}) {
      RecordingHost host(agrees);
      EXPECT_EQ(RunCopyDataCommand(host, c.command, c.data), agrees && !c.call.empty()) << c.data;
      EXPECT_EQ(host.calls,
                c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call})
          << c.data;
    }
  }
}

TEST(MayClaimAimSchemeTest, TakesOverOnlyAnEmptySlotOrARoomsim) {
  const std::pair<std::optional<std::string>, bool> cases[] = {
      {std::nullopt, true},
      {"", true},
      {"\"C:\\old build\\bin\\roomsim.exe\" \"%1\"", true},
      {"C:\\bin\\RoomSim.EXE %1", true},
      {"\"/home/x/roomsim\" \"%1\"", true},
      {"\"C:\\tools\\roomsim.exe", true},  // unclosed quote: the rest is the program
      {"\"C:\\Program Files\\AIM\\aim.exe\" -goto \"%1\"", false},
      {"C:\\bin\\notroomsim.exe %1", false},
      {"\"C:\\roomsim.exe.bak\\aim.exe\" %1", false},
  };
  for (const auto& [command, mayClaim] : cases) {
    EXPECT_EQ(MayClaimAimScheme(command), mayClaim) << command.value_or("(none)");
  }
}

}  // namespace
}  // namespace roomsim
