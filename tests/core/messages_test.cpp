// Messages and Tcl dialogs: where each level goes, the exchange file, and real dialog round trips.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/runstate.h"
#include "core/prefs.h"
#include "core/tclthreads.h"
#include "tests/support/quoit_test_support.h"
#include "tests/support/scratch_home.h"

namespace fs = std::filesystem;

class Messages : public ScratchHomeTest {};

struct Output {
  std::string out, err;
};

template <typename F>
static Output captured(F action) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  action();
  Output o;
  o.out = testing::internal::GetCapturedStdout();
  o.err = testing::internal::GetCapturedStderr();
  return o;
}

TEST_F(Messages, EachLevelGoesWhereItBelongs) {
  struct Case {
    int level;
    bool toTrace, toStderr;
    const char *file;  // the file that holds the message afterwards, or nullptr
  } cases[] = {
      {0, true, false, nullptr},          {QMSG_DEBUG, true, false, nullptr},
      {3, false, false, nullptr},         {128, false, false, nullptr},
      {19, false, false, nullptr},        {QMSG_ERROR, true, true, TCL_PASSING_FILE},
      {QMSG_REPORT, true, true, TCL_PASSING_FILE}, {QMSG_INFO, true, false, TCL_INFO_FILE},
  };
  for (const Case &c : cases) {
    fs::remove(TCL_PASSING_FILE);
    fs::remove(TCL_INFO_FILE);
    Output o = captured([&] { qMsg(c.level, "level %d says 100%%\n", c.level); });
    std::string text = "level " + std::to_string(c.level) + " says 100%\n";
    EXPECT_EQ(o.out.find(text) != std::string::npos, c.toTrace) << c.level << ": " << o.out;
    EXPECT_EQ(o.err.find(text) != std::string::npos, c.toStderr) << c.level << ": " << o.err;
    if (c.file) {
      EXPECT_EQ(readWholeFile(c.file), text) << c.level;
    }
  }
}

// A message shown in a window without a final line end ends its line in the trace file and on
// stderr, so the next trace text starts on a line of its own; the window gets the text as given.
TEST_F(Messages, ShownMessagesEndTheirLineInTheTrace) {
  struct Case {
    int level;
    bool toStderr;
    const char *file;
  } cases[] = {{QMSG_ERROR, true, TCL_PASSING_FILE}, {QMSG_REPORT, true, TCL_PASSING_FILE},
               {QMSG_INFO, false, TCL_INFO_FILE},     {82, false, nullptr}};
  for (const Case &c : cases) {
    Output o = captured([&] {
      qMsg(c.level, "%s", localTextLine(504).c_str());
      qMsg(QMSG_DEBUG, "next line\n");
      waitForNonModalDialogs(5000);
    });
    std::string line = localTextLine(504) + "\n";
    EXPECT_NE(o.out.find(line), std::string::npos) << c.level << ": " << o.out;
    EXPECT_NE(o.out.find("\nnext line\n"), std::string::npos) << c.level << ": " << o.out;
    if (c.toStderr) EXPECT_NE(o.err.find(line), std::string::npos) << c.level << ": " << o.err;
    if (c.file) EXPECT_EQ(readWholeFile(c.file), localTextLine(504)) << c.level;
  }
}

TEST_F(Messages, ReportWritesTheReportFile) {
  currentPatternFile = "m/531.pat";
  fs::remove(TCL_REPORT_FILE);
  captured([] { qMsg(QMSG_REPORT, "broken\n"); });
  std::string report = readWholeFile(TCL_REPORT_FILE);
  EXPECT_EQ(report.rfind("m/531.pat\n", 0), 0u) << report;
  EXPECT_NE(report.find("V14.8"), std::string::npos) << report;
  EXPECT_EQ(report.find("broken"), std::string::npos);
  fs::remove(TCL_REPORT_FILE);
  captured([] { qMsg(QMSG_ERROR, "plain error\n"); });
  EXPECT_FALSE(fs::exists(TCL_REPORT_FILE));
}

// Without a writable "tmp" the error about the exchange file needs that file itself: it must
// end after one report and the message must still reach the trace and stderr.
TEST_F(Messages, UnwritableExchangeFileDoesNotRecurse) {
  fs::remove_all("tmp");
  Output o = captured([] { qMsg(QMSG_ERROR, "first problem\n"); });
  EXPECT_NE(o.err.find("first problem"), std::string::npos);
  // The reason reaches stderr with the name, not only the trace file.
  EXPECT_NE(o.err.find("Cannot write the file tmp/tcl_passing: No such file or directory."), std::string::npos) << o.err;
  Output info = captured([] { qMsg(QMSG_INFO, "some information\n"); });
  EXPECT_NE(info.out.find("some information"), std::string::npos);
  EXPECT_NE(info.err.find("Cannot write the file tmp/info.txt: No such file or directory."), std::string::npos) << info.err;
}

TEST_F(Messages, ExchangeFile) {
  EXPECT_EQ(writeTclPassing("100% %s %d\nsecond line"), 0);
  EXPECT_EQ(readWholeFile(TCL_PASSING_FILE), "100% %s %d\nsecond line");
  EXPECT_EQ(writeTclPassing(nullptr), 0);
  EXPECT_EQ(readWholeFile(TCL_PASSING_FILE), "100% %s %d\nsecond line");

  struct Case {
    std::string content;
    int code;
    std::string answer;
  } cases[] = {
      {"first\nsecond\n", 0, "first"},
      {"crlf\r\n", 0, "crlf"},
      {"", 0, ""},
      {std::string(99, 'a') + "\n", 0, std::string(99, 'a')},
      {std::string(100, 'b') + "\n", TCL_PASSING_ANSWER_TOO_LONG, ""},
  };
  for (const Case &c : cases) {
    writeWholeFile(TCL_PASSING_FILE, c.content);
    char answer[TCL_ANSWER_SIZE] = "old";
    EXPECT_EQ(readTclPassing(answer), c.code) << c.content;
    EXPECT_EQ(std::string(answer), c.answer) << c.content;
  }
  EXPECT_EQ(readTclPassing(nullptr), 0);
  fs::remove(TCL_PASSING_FILE);
  char answer[TCL_ANSWER_SIZE];
  EXPECT_EQ(readTclPassing(answer), TCL_PASSING_READ_FAILED);
  fs::remove_all("tmp");
  EXPECT_EQ(writeTclPassing("x"), TCL_PASSING_WRITE_FAILED);
}

// A message joins the program's Latin-1 texts with names from outside, which are UTF-8 already or
// any bytes at all: each reaches stderr, the trace and the dialog once encoded, as UTF-8.
TEST_F(Messages, NamesAreEncodedOnce) {
  struct Case {
    const char *format, *name, *shown;
  } cases[] = {
      {"Cannot read %s.\n", "\xc3\xa9t\xc3\xa9", "Cannot read \xc3\xa9t\xc3\xa9.\n"},  // a UTF-8 name
      {"Cannot read %s.\n", "\xe9t\xe9", "Cannot read \xc3\xa9t\xc3\xa9.\n"},              // not UTF-8: Latin-1
      {"Fen\xeatre %s\n", "\xe2\x82\xac", "Fen\xc3\xaatre \xe2\x82\xac\n"},             // both in one line
      {"%s\n", "\xc3\xa9\xff\xe2\x82", "\xc3\xa9\xc3\xbf\xc3\xa2\xc2\x82\n"},       // a cut sequence
  };
  for (const Case &c : cases) {
    Output o = captured([&] { qMsg(QMSG_ERROR, c.format, c.name); });
    EXPECT_EQ(o.err, c.shown);
    EXPECT_EQ(o.out.rfind(c.shown, 0), 0u) << o.out;
    EXPECT_EQ(readWholeFile(TCL_PASSING_FILE), c.shown);
  }
  EXPECT_EQ(writeTclPassing("m/\xc3\xa9t\xc3\xa9/\n"), 0);
  EXPECT_EQ(readWholeFile(TCL_PASSING_FILE), "m/\xc3\xa9t\xc3\xa9/\n");
}

// A request that cannot be written is not followed by its script, which would read an old
// request or wait on what stands in the exchange file's place.
TEST_F(Messages, UnwrittenRequestRunsNoScript) {
  fs::create_directory(TCL_PASSING_FILE);
  char answer[TCL_ANSWER_SIZE] = "old";
  Output o = captured([&] { EXPECT_EQ(InvokeTclCmd("tcl/askuser.tcl", "a\nb\nc", 0, answer), TCL_PASSING_WRITE_FAILED); });
  EXPECT_STREQ(answer, "old");
  EXPECT_NE(o.err.find("Cannot write the file tmp/tcl_passing: Is a directory."), std::string::npos) << o.err;
  EXPECT_EQ(o.out.find("Tk_Init"), std::string::npos) << o.out;
}

// Flag 1 only tells the dialog thread to show tmp/info.txt: no script runs, the file stays.
TEST_F(Messages, InfoRequestOnlySignalsTheDialogThread) {
  writeWholeFile(TCL_PASSING_FILE, "before");
  qTclThreadIndex = 2;
  qSignalSlots[qTclThreadIndex] = 0;
  qPrefs.notcl = 0;
  EXPECT_EQ(InvokeTclCmd("tcl/no_such_script.tcl", "request", 1, nullptr), 0);
  EXPECT_EQ(qSignalSlots[qTclThreadIndex], 10);
  EXPECT_EQ(readWholeFile(TCL_PASSING_FILE), "before");
  qSignalSlots[qTclThreadIndex] = 0;
  qPrefs.notcl = 1;
  EXPECT_EQ(InvokeTclCmd("tcl/no_such_script.tcl", "request", 1, nullptr), 0);
  EXPECT_EQ(qSignalSlots[qTclThreadIndex], 0);
  qPrefs.notcl = 0;
}

TEST_F(Messages, DialogsWithoutTk) {
  char answer[TCL_ANSWER_SIZE] = "";
  Output o = captured([&] {
    EXPECT_EQ(InvokeTclCmd("tcl/askuser.tcl", "a\nb\nc", 0, answer), 1);
    EXPECT_EQ(askUser("Save?", "yes", "no"), ASK_USER_NOT_ASKED);
    EXPECT_EQ(qStdFileReq("m", answer, 0, "*.pat", 0), 1);
  });
  EXPECT_NE(o.out.find("Tk_Init failed"), std::string::npos) << o.out;
  EXPECT_NE(o.err.find("Error 1 in qStdFileReq."), std::string::npos) << o.err;
}

// Real dialogs under a private X server; QUOIT_TEST_ANSWER makes each answer by itself.
class MessagesGui : public Messages {
 protected:
  void SetUp() override {
    Messages::SetUp();
    ASSERT_FALSE(sharedDisplay().empty());
    setenv("DISPLAY", sharedDisplay().c_str(), 1);
  }
  void TearDown() override {
    waitForNonModalDialogs(5000);
    unsetenv("DISPLAY");
    Messages::TearDown();
  }
};

TEST_F(MessagesGui, AskUserRoundTrip) {
  setenv("QUOIT_TEST_ANSWER", "2", 1);
  EXPECT_EQ(askUser("Save the pattern?", "Save", "Discard"), 2);
  setenv("QUOIT_TEST_ANSWER", "1", 1);
  EXPECT_EQ(askUser("Again?", "Yes", "No"), 1);
}

TEST_F(MessagesGui, FileRequesterAnswersRelativeToHome) {
  std::string chosen = home + "/m/sub/531.pat";
  setenv("QUOIT_TEST_ANSWER", chosen.c_str(), 1);
  char answer[TCL_ANSWER_SIZE] = "";
  ASSERT_EQ(qStdFileReq("m", answer, 0, "*.pat", 26), 0);
  EXPECT_STREQ(answer, "m/sub/531.pat");
  setenv("QUOIT_TEST_ANSWER", "", 1);
  EXPECT_EQ(qStdFileReq("m", answer, 0, "*.pat", 26), 1);
}

TEST_F(MessagesGui, TooLongAnswerIsReportedNotCut) {
  std::string chosen = "/elsewhere/" + std::string(120, 'x') + ".pat";
  setenv("QUOIT_TEST_ANSWER", chosen.c_str(), 1);
  char answer[TCL_ANSWER_SIZE] = "";
  Output o = captured([&] { EXPECT_EQ(qStdFileReq("m", answer, 0, "*.pat", 26), 1); });
  EXPECT_STREQ(answer, "");
  EXPECT_NE(o.err.find("The answer of tcl/stdfilereq.tcl is longer than 99 characters."), std::string::npos) << o.err;
}

// A file requester that answers "<start directory>sub/chosen.pat" shows which directory it got.
TEST_F(MessagesGui, FileRequesterRemembersTheDirectory) {
  writeWholeFile("tcl/stdfilereq.tcl",
                 "source tcl/qdialog.tcl\n"
                 "qWriteAnswer \"[lindex [split [qReadPassing] \\n] 0]sub/chosen.pat\"\n"
                 "destroy .\n");
  char answer[TCL_ANSWER_SIZE] = "";
  ASSERT_EQ(qStdFileReq("other/", answer, 0, "*", 0), 0);
  EXPECT_STREQ(answer, "other/sub/chosen.pat");
  ASSERT_EQ(qStdFileReq("m", answer, 0, "*", 0), 0);
  EXPECT_STREQ(answer, "other/sub/sub/chosen.pat");
  ASSERT_EQ(qStdFileReq("m/", answer, 0, "*", 0), 0);
  EXPECT_STREQ(answer, "other/sub/sub/sub/chosen.pat");
  ASSERT_EQ(qStdFileReq("v/basic/", answer, 0, "*.wrl", 0), 0);
  EXPECT_STREQ(answer, "v/basic/sub/chosen.pat");
}

TEST_F(MessagesGui, MessageDialogsCloseAndKeepTheText) {
  for (const char *script : {"tcl/qmsg_error.tcl", "tcl/qmsg_report.tcl", "tcl/qmsg_non_modal.tcl"}) {
    EXPECT_EQ(InvokeTclCmd(script, "Something went wrong: 100% sure", 0, nullptr), 0) << script;
    EXPECT_EQ(readWholeFile(TCL_PASSING_FILE), "Something went wrong: 100% sure") << script;
  }
  captured([] { qMsg(QMSG_REPORT, "reported\n"); });
  EXPECT_EQ(readWholeFile(TCL_PASSING_FILE), "reported\n");
}

TEST_F(MessagesGui, NonModalMessageDoesNotBlock) {
  auto start = std::chrono::steady_clock::now();
  captured([] { qMsg(82, "converter command\n"); });
  auto returned = std::chrono::steady_clock::now();
  EXPECT_EQ(waitForNonModalDialogs(0), 1) << "the window closed before the caller went on";
  EXPECT_EQ(waitForNonModalDialogs(5000), 0);
  EXPECT_LT(returned - start, std::chrono::seconds(3));
}

// A probe script exercises the commands the program offers to every dialog.
TEST_F(MessagesGui, CommandsOfferedToScripts) {
  qPrefs.language = ENGLISH;
  restartRequest = 0;
  writeWholeFile("tcl/probe.tcl",
                 "set r [list [LT 20] [LT 9999]]\n"
                 "SetLanguage deutsch\n"
                 "lappend r [LT 22] [catch {SetLanguage klingon}] [LT 22]\n"
                 "lappend r [catch {SetLanguage} message]\n"
                 "KillChild\n"
                 "set f [open tmp/tcl_passing w]\n"
                 "fconfigure $f -encoding utf-8\n"
                 "puts $f [join $r |]\n"
                 "close $f\n"
                 "destroy .\n");
  char answer[TCL_ANSWER_SIZE] = "";
  captured([&] { ASSERT_EQ(InvokeTclCmd("tcl/probe.tcl", nullptr, 0, answer), 0); });
  EXPECT_STREQ(answer, "OK|Text no. 9999 is missing in this language.|quoit: Fehler|1|quoit: Fehler|20050317");
  EXPECT_EQ(qPrefs.language, 0);
  EXPECT_EQ(restartRequest, 1);
  qPrefs.language = ENGLISH;
}

TEST_F(MessagesGui, FailingScriptReturnsItsCode) {
  writeWholeFile("tcl/broken.tcl", "error {no such thing}\n");
  Output o = captured([] { EXPECT_EQ(InvokeTclCmd("tcl/broken.tcl", nullptr, 0, nullptr), 1); });
  EXPECT_NE(o.out.find("InvokeTclCmd(tcl/broken.tcl): no such thing"), std::string::npos) << o.out;
}

// A dialog script that cannot run says so on stderr in one line, once a script, also when the
// error dialog that shows this message is missing as well.
TEST_F(MessagesGui, FailingScriptIsReportedOnce) {
  writeWholeFile("tcl/broken_once.tcl", "error \"no such thing\\nsecond line\"\n");
  std::string missingErrorDialog = "The dialog script tcl/qmsg_error.tcl failed: No such file or directory\n";
  struct Case {
    const char *script, *message;
    bool errorDialog;
  } cases[] = {
      {"tcl/broken_once.tcl", "The dialog script tcl/broken_once.tcl failed: no such thing\n", true},
      {"tcl/broken_once.tcl", "", true},
      {"tcl/missing_once.tcl", "The dialog script tcl/missing_once.tcl failed: No such file or directory\n", false},
  };
  for (const Case &c : cases) {
    if (!c.errorDialog) fs::remove("tcl/qmsg_error.tcl");
    Output o = captured([&] { EXPECT_EQ(InvokeTclCmd(c.script, nullptr, 0, nullptr), 1); });
    std::string expected = std::string(c.message) + (c.errorDialog ? "" : missingErrorDialog);
    EXPECT_EQ(o.err, expected) << c.script;
    EXPECT_NE(o.out.find(c.script), std::string::npos) << o.out;  // the trace keeps every failure
  }
}

// A dialog script is run only from a regular file, reached through a link: a FIFO in its place
// must not stop the caller, and what is not run is said on stderr. Should the open wait on the
// FIFO, a script is written into it after three seconds, so the test fails instead of hanging.
TEST_F(MessagesGui, DialogScriptOnlyFromARegularFile) {
  const std::string script = "set f [open tmp/tcl_passing w]\nputs $f ran\nclose $f\ndestroy .\n";
  fs::create_directory("elsewhere");
  writeWholeFile("elsewhere/script.tcl", script);
  struct Case {
    const char *name;
    std::function<void(const char *)> place;
    bool runs;
  } cases[] = {
      {"tcl/fifo.tcl", [](const char *name) { ASSERT_EQ(mkfifo(name, 0600), 0); }, false},
      {"tcl/directory.tcl", [](const char *name) { fs::create_directory(name); }, false},
      {"tcl/dangling.tcl", [](const char *name) { fs::create_symlink("../elsewhere/none.tcl", name); }, false},
      {"tcl/linked.tcl", [](const char *name) { fs::create_symlink("../elsewhere/script.tcl", name); }, true},
      {"tcl/regular.tcl", [&](const char *name) { writeWholeFile(name, script); }, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    c.place(c.name);
    std::atomic<bool> done{false}, blocked{false};
    std::thread guard([&] {
      for (int i = 0; i < 300 && !done; i++) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      for (; !done; std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        int fd = open(c.name, O_WRONLY | O_NONBLOCK);
        if (fd < 0) continue;
        blocked = true;
        EXPECT_EQ(write(fd, script.data(), script.size()), ssize_t(script.size()));
        close(fd);
        break;
      }
    });
    char answer[TCL_ANSWER_SIZE] = "";
    int code = 0;
    Output o = captured([&] { code = InvokeTclCmd(c.name, "request", 0, answer); });
    done = true;
    guard.join();
    EXPECT_FALSE(blocked);
    EXPECT_EQ(code == 0, c.runs) << code;
    EXPECT_EQ(std::string(answer), c.runs ? "ran" : "") << answer;
    bool reported = o.err.find(std::string("The dialog script ") + c.name + " failed") != std::string::npos;
    EXPECT_EQ(reported, !c.runs) << o.err;
  }
}
