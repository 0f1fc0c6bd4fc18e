// Input scripts: the text format, delivery of each frame's events before that
// frame (and only once), the recording of key messages, and when a headless
// replay ends by itself.
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "ShellFixture.h"
#include "shell/Globals.h"
#include "shell/ScriptedRun.h"

namespace {

using shell::ScriptEvent;

TEST(ScriptFormatTest, ReadsEventsBetweenCommentsAndBlankLines) {
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(shell::ParseInputScript("# a comment\n\n0 0x5A down\n  3 0x5a up   # released\r\n7 27 down\n", &events,
                                        &error))
        << error;
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].frame, 0u);
    EXPECT_EQ(events[0].key, 0x5Au);
    EXPECT_TRUE(events[0].down);
    EXPECT_EQ(events[1].key, 0x5Au);
    EXPECT_FALSE(events[1].down);
    EXPECT_EQ(events[2].key, 0x27u);  // hex even without 0x
    EXPECT_EQ(shell::FormatScriptEvent(events[2]), "7 0x27 down");
}

TEST(ScriptFormatTest, RefusesBadLinesAndSaysWhere) {
    const char* bad[] = {"x 0x25 down", "1 0x125 down", "1 0x00 down", "1 0x25 pressed", "1 0x25 down now",
                         "5 0x25 down\n4 0x25 up", "-1 0x25 down", "1 0xZZ up"};
    for (const char* text : bad) {
        std::vector<ScriptEvent> events{{9, 9, true}};
        std::string error;
        EXPECT_FALSE(shell::ParseInputScript(text, &events, &error)) << text;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
        EXPECT_EQ(events.size(), 1u) << "left untouched on failure";
    }
}

class ReplayTest : public shelltest::ShellTest {};

TEST_F(ReplayTest, EachFramesEventsReachTheWindowBeforeThatFrameOnce) {
    shell::SetReplay({{0, 0x27, true}, {2, 0x27, false}, {2, 0x5A, true}});
    EXPECT_TRUE(shell::PostScriptedInput(0));
    Pump();
    EXPECT_EQ(PushKey, 0x27u);
    EXPECT_FALSE(shell::PostScriptedInput(0));  // already delivered
    EXPECT_FALSE(shell::PostScriptedInput(1));
    EXPECT_EQ(shell::ScriptFrame(), 1u);
    EXPECT_TRUE(shell::PostScriptedInput(2));
    Pump();
    EXPECT_EQ(PushKey, 0x5Au);
    shell::SetReplay({});
}

TEST_F(ReplayTest, HeadlessReplayEndsAtRestOrSixHundredFramesAfterItsLastEvent) {
    shell::SetReplay({{10, 0x27, true}});
    shell::PostScriptedInput(10);
    shell::SetRestCheck(nullptr);
    EXPECT_FALSE(shell::ScriptedRunFinished(10, true, false));  // frame 9 ran: event still ahead
    EXPECT_FALSE(shell::ScriptedRunFinished(610, true, false));
    EXPECT_TRUE(shell::ScriptedRunFinished(611, true, false));
    EXPECT_FALSE(shell::ScriptedRunFinished(611, false, false)) << "a window stays open";
    EXPECT_FALSE(shell::ScriptedRunFinished(611, true, true)) << "--frames decides";

    static bool atRest = false;
    shell::SetRestCheck([] { return atRest; });
    EXPECT_FALSE(shell::ScriptedRunFinished(11, true, false));
    atRest = true;
    EXPECT_TRUE(shell::ScriptedRunFinished(11, true, false));
    shell::SetRestCheck(nullptr);
    shell::SetReplay({});
}

TEST_F(ReplayTest, RecordingKeepsKeyMessagesWithTheirFrames) {
    const std::string path = testing::TempDir() + "record-" + std::to_string(getpid()) + ".txt";
    std::string error;
    ASSERT_TRUE(shell::StartRecording(path, &error)) << error;
    shell::NoteDispatchedMessage({hwnd_, WM_KEYDOWN, 0x25, 0}, 4);
    shell::NoteDispatchedMessage({hwnd_, WM_MOUSEMOVE, 0, 0}, 4);
    shell::NoteDispatchedMessage({hwnd_, WM_KEYUP, 0x25, 0}, 9);
    shell::StopRecording();

    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<ScriptEvent> events;
    ASSERT_TRUE(shell::ParseInputScript(text.str(), &events, &error)) << error;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(shell::FormatScriptEvent(events[0]), "4 0x25 down");
    EXPECT_EQ(shell::FormatScriptEvent(events[1]), "9 0x25 up");
    std::remove(path.c_str());
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// A replay and a recording may not be the same file, whichever comes first
// and however the path is spelt: the recording would empty the script.
TEST_F(ReplayTest, RecordAndReplayRefuseTheSameFile) {
    const std::string dir = testing::TempDir() + "same-" + std::to_string(getpid());
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    const std::string path = dir + "/s.txt", link = dir + "/link.txt";
    const std::string script = "3 0x5A down\n4 0x5A up\n";
    std::ofstream(path) << script;
    ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
    std::string error;

    ASSERT_TRUE(shell::LoadReplay(path, &error)) << error;
    for (const std::string& other : {path, dir + "/./s.txt", dir + "//s.txt", link}) {
        EXPECT_FALSE(shell::StartRecording(other, &error)) << other;
        EXPECT_NE(error.find("also the --replay file"), std::string::npos) << error;
    }
    shell::SetReplay({});

    ASSERT_TRUE(shell::StartRecording(link, &error)) << error;
    EXPECT_FALSE(shell::LoadReplay(dir + "/../" + dir.substr(dir.rfind('/') + 1) + "/s.txt", &error));
    EXPECT_NE(error.find("also the --record file"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), script);  // nothing is emptied before the run begins
    shell::StopRecording();
    // Once the run has begun the recording holds this run's keys only.
    EXPECT_EQ(ReadAll(path).find("0x5A"), std::string::npos);
    EXPECT_EQ(ReadAll(path).rfind("# kasample input script", 0), 0u);

    // A different file is fine again.
    EXPECT_TRUE(shell::LoadReplay(path, &error)) << error;
    shell::SetReplay({});
    std::remove(path.c_str());
    std::remove(link.c_str());
    rmdir(dir.c_str());
}

TEST_F(ReplayTest, OnlyRegularFilesOfSaneLinesAreScripts) {
    std::string error;
    EXPECT_FALSE(shell::LoadReplay("/dev/zero", &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(shell::LoadReplay(testing::TempDir(), &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(shell::LoadReplay(testing::TempDir() + "no-such-script.txt", &error));

    std::vector<ScriptEvent> events;
    const std::string longComment = "1 0x25 down # " + std::string(1100, 'x') + "\n";
    EXPECT_FALSE(shell::ParseInputScript(longComment, &events, &error));
    EXPECT_NE(error.find("line 1: longer than"), std::string::npos) << error;
    EXPECT_TRUE(shell::ParseInputScript("1 0x25 down # " + std::string(900, 'x') + "\n", &events, &error)) << error;
}

}  // namespace
