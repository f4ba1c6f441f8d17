// Micro-benchmarks of the scanner's hot path, which runs twice a second for as long as scanning
// is on: the newest line of a 500-character transcript tail, its markup stripping, RemoveHTML,
// and one whole tick that hands a line to the interpreter. They print figures only; items are
// characters of the text worked on.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "aim/chat_window.h"
#include "chatctl/line_parser.h"
#include "interp/markup.h"
#include "transcript_markup.h"
#include "wired_tool.h"

namespace {

// A transcript of ordinary room talk, the user's line last, as the AIM client marks it up.
std::string Transcript(const std::string& lastMessage, int second) {
  const std::vector<std::string> talk = {"hi all", "anyone here from ohio?", "brb",
                                         "lol that's what I said", "who's up for a game"};
  std::string text;
  for (int i = 0; i < 12; ++i) {
    text += roomsim::FormatLine(i % 2 == 0 ? "Someone" : "AnotherOne", talk[i % talk.size()], false,
                                roomsim::FormatClock(10, 0, i));
  }
  return text +
         roomsim::FormatLine("Tester", lastMessage, true, roomsim::FormatClock(10, 1, second));
}

// The last kTranscriptTailLength characters, as the scanner reads them.
std::wstring Tail() {
  const std::string text = Transcript("<b>/join my room 4</b>", 0);
  const std::string tail = text.substr(text.size() - tv::aim::kTranscriptTailLength);
  return {tail.begin(), tail.end()};
}

void BM_GetLastLine(benchmark::State& state) {
  const std::wstring tail = Tail();
  for (auto _ : state) benchmark::DoNotOptimize(tv::chatctl::GetLastLine(tail));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tail.size()));
}
BENCHMARK(BM_GetLastLine);

void BM_StripLineMarkup(benchmark::State& state) {
  const std::wstring line = tv::chatctl::GetLastLine(Tail());
  for (auto _ : state) benchmark::DoNotOptimize(tv::chatctl::StripLineMarkup(line));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_StripLineMarkup);

// The whole tail, a worse case than any one message: every tag goes one at a time.
void BM_RemoveHTML(benchmark::State& state) {
  const std::wstring tail = Tail();
  for (auto _ : state) benchmark::DoNotOptimize(tv::interp::RemoveHTML(tail));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tail.size()));
}
BENCHMARK(BM_RemoveHTML);

// One scanner tick on a fake chat room: the tail read through the desktop's messages, the newest
// line cut, parsed and handed to the interpreter, which knows the user. The argument picks the
// message: 0 a line of talk, 1 "/help", whose reply goes out through the send button. Each
// iteration puts one of two transcripts in place (their last lines differ in the second), so that
// every tick finds a new line, and empties the fakes' records; both are part of the figure.
void BM_ScanTick(benchmark::State& state) {
  tv::testing::WiredTool tool;
  tv::testing::FakeChatRoom& room = tool.room;
  tool.chat.scan_on();
  room.SayAsUser("[Tavik Varrow V.2][Searching User]");
  tool.chat.chat_tymer_Timer();  // names the user

  const std::string message = state.range(0) == 0 ? "anyone up for a game?" : "/help";
  const std::string transcripts[2] = {Transcript(message, 1), Transcript(message, 2)};
  std::size_t next = 0;
  for (auto _ : state) {
    room.desktop.SetText(room.transcript, transcripts[next]);
    next = 1 - next;
    tool.chat.chat_tymer_Timer();
    room.desktop.ClearLog();
    room.ClearSent();
  }
  state.SetLabel(tool.state.userName() == L"tester" ? "user known" : "USER NOT KNOWN");
}
BENCHMARK(BM_ScanTick)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
