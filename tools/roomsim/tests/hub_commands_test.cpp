#include "hub_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "roomsim_protocol.h"

namespace roomsim {
namespace {

// Records each call as "Name(arg|arg)" and answers `answer`.
class RecordingHost final : public RoomHost {
 public:
  bool SayAsOther(std::string_view speaker, std::string_view message) override {
    return Record("SayAsOther(" + std::string(speaker) + "|" + std::string(message) + ")");
  }
  bool TypeAsUser(std::string_view message) override {
    return Record("TypeAsUser(" + std::string(message) + ")");
  }
  bool SetTranscript(std::string_view markup) override {
    return Record("SetTranscript(" + std::string(markup) + ")");
  }
  bool OpenLink(std::string_view link) override {
    return Record("OpenLink(" + std::string(link) + ")");
  }

  bool answer = true;
  std::vector<std::string> calls;

 private:
  bool Record(std::string call) {
    calls.push_back(std::move(call));
    return answer;
  }
};

struct CommandCase {
  std::uintptr_t command;
  std::string data;
  bool answered;
  std::string call;  // empty: the host is not called
};

TEST(RunCopyDataCommandTest, RoutesEachCommand) {
  const std::vector<CommandCase> cases = {
      {kSayAsOther, "Buddy\nhi there", true, "SayAsOther(Buddy|hi there)"},
      {kSayAsOther, "Buddy\nline\nbreak", true, "SayAsOther(Buddy|line\nbreak)"},
      {kSayAsOther, "Buddy\n", true, "SayAsOther(Buddy|)"},
      {kSayAsOther, "no newline", false, ""},
      {kSayAsOther, "\nno speaker", false, ""},
      {kTypeAsUser, "/help", true, "TypeAsUser(/help)"},
      {kTypeAsUser, "", true, "TypeAsUser()"},
      {kSetTranscript, "<BR>x", true, "SetTranscript(<BR>x)"},
      {kOpenLink, "aim:gochat?roomname=a&exchange=4", true,
       "OpenLink(aim:gochat?roomname=a&exchange=4)"},
      // A sender that counted the terminating NUL.
      {kTypeAsUser, std::string("hi\0", 3), true, "TypeAsUser(hi)"},
      {0, "x", false, ""},
      {99, "x", false, ""},
  };
  for (const CommandCase& c : cases) {
    RecordingHost host;
    EXPECT_EQ(RunCopyDataCommand(host, c.command, c.data), c.answered) << c.data;
    const std::vector<std::string> expected =
        c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call};
    EXPECT_EQ(host.calls, expected) << c.data;
  }
}

TEST(RunCopyDataCommandTest, PassesOnTheHostsRefusal) {
  RecordingHost host;
  host.answer = false;
  for (std::uintptr_t command : {kSayAsOther, kTypeAsUser, kSetTranscript, kOpenLink}) {
    EXPECT_FALSE(RunCopyDataCommand(host, command, "a\nb")) << command;
  }
  EXPECT_EQ(host.calls.size(), 4u);
}

TEST(RunCopyDataCommandTest, KeepsInnerNulBytesOfATranscript) {
  RecordingHost host;
  const std::string data("a\0b", 3);
  EXPECT_TRUE(RunCopyDataCommand(host, kSetTranscript, data));
  EXPECT_EQ(host.calls.at(0), "SetTranscript(" + data + ")");
}

}  // namespace
}  // namespace roomsim
