// Messages and Tcl dialogs: qMsg sends every message to the trace file and, by its level, into a
// dialog script of "tcl/"; requests and answers pass through the exchange file "tmp/tcl_passing".
#include "core/Tcl.h"

#include <tcl.h>
#include <tk.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/tclthreads.h"
#include "core/userfiles.h"
#include "core/utils.h"

static std::atomic<int> nonModalDialogsOpen{0};

// The trace file and stderr get UTF-8, like every text file the program writes for people and the
// exchange file the dialogs read.
static void writeToStream(FILE *stream, const std::string &text) {
  fputs(utf8ForOutput(text).c_str(), stream);
  fflush(stream);
}

// The copy of a message that a window shows: there it stands on lines of its own, so its copy
// ends its line too and the next trace text starts on a new one.
static void writeMessageCopy(FILE *stream, const std::string &text) {
  writeToStream(stream, text.empty() || text.back() == '\n' ? text : text + "\n");
}

// Reports a file that a message could not be written to. The report is itself an error
// message and may fail for the same reason: then it stops after the trace file and stderr.
static void reportUnwritable(const char *name) {
  static thread_local int reporting = 0;
  if (reporting) return;
  reporting = 1;
  qMsg(QMSG_ERROR, localText(34), name, fileErrorReason(errno));
  reporting = 0;
}

// The exchange, information and report files are the program's own: a link, FIFO or directory
// in their place is refused with a message, never followed nor waited on.
static bool writeTextFile(const char *name, const std::string &text) {
  FILE *file = createOwnFile(name);
  if (!file) {
    reportUnwritable(name);
    return false;
  }
  bool ok = fputs(utf8ForOutput(text).c_str(), file) >= 0;
  ok = fclose(file) == 0 && ok;
  if (!ok) reportUnwritable(name);
  return ok;
}

static bool writeReportFile() {
  FILE *file = createOwnFile(TCL_REPORT_FILE);
  if (!file) {
    reportUnwritable(TCL_REPORT_FILE);
    return false;
  }
  fprintf(file, "%s\n", currentPatternFile.c_str());
  fputs(qVersionLine(), file);
  if (fclose(file) != 0) {
    reportUnwritable(TCL_REPORT_FILE);
    return false;
  }
  return true;
}

static void showError(const std::string &text, bool report) {
  writeMessageCopy(stdout, text);
  writeMessageCopy(stderr, text);
  if (report && !writeReportFile()) return;
  if (!writeTextFile(TCL_PASSING_FILE, text)) return;
  InvokeTclCmd(report ? "tcl/qmsg_report.tcl" : "tcl/qmsg_error.tcl", nullptr, 0, nullptr);
}

static void showInfo(const std::string &text) {
  writeMessageCopy(stdout, text);
  if (!writeTextFile(TCL_INFO_FILE, text)) return;
  qKill(qTclThreadIndex, 10);
  if (qTclUsed) qSleep(30);
}

// Tk takes a window that another client destroyed (xdotool windowclose) as closed, but its
// clean-up still sends requests for that window and its children. The server's BadWindow and
// BadDrawable answers reach the handler that was there before Tk, whose default ends the whole
// process from the Tk thread. A thread that serves Tk events drops them; every other error goes
// on to that handler.
static thread_local int tkEventScopes = 0;
static XErrorHandler errorHandlerBeforeTk = nullptr;

static int dropErrorsOfDestroyedWindows(Display *display, XErrorEvent *error) {
  if (tkEventScopes > 0 && (error->error_code == BadWindow || error->error_code == BadDrawable)) return 0;
  return errorHandlerBeforeTk ? errorHandlerBeforeTk(display, error) : 0;
}

TkEventScope::TkEventScope() { tkEventScopes++; }
TkEventScope::~TkEventScope() { tkEventScopes--; }

// Serves events until this interpreter's windows are closed. Other Tk applications of the same
// thread (the dialog thread's window, a dialog that opened this one) do not keep it waiting.
static void runUntilClosed(Tcl_Interp *interp) {
  TkEventScope serving;
  while (Tk_MainWindow(interp)) Tcl_DoOneEvent(0);
  Tcl_ResetResult(interp);
}

// A non-modal message runs its script in a thread of its own, so the caller goes on at once;
// the caller only waits until the script has read the exchange file.
struct NonModalStart {
  std::mutex mutex;
  std::condition_variable started;
  bool ready = false;
};

static void signalStarted(NonModalStart &start) {
  std::lock_guard<std::mutex> lock(start.mutex);
  start.ready = true;
  start.started.notify_all();
}

static void runNonModal(std::shared_ptr<NonModalStart> start, std::string script) {
  Tcl_Interp *interp = createTclInterp();
  if (!interp) {
    signalStarted(*start);
    nonModalDialogsOpen--;
    return;
  }
  int code = Tcl_EvalFile(interp, script.c_str());
  signalStarted(*start);
  reportTclError(interp, code);
  if (code == TCL_OK) runUntilClosed(interp);
  Tcl_DeleteInterp(interp);
  nonModalDialogsOpen--;
}

static void showNonModal(const std::string &text) {
  writeMessageCopy(stdout, text);
  if (!writeTextFile(TCL_PASSING_FILE, text)) return;
  auto start = std::make_shared<NonModalStart>();
  nonModalDialogsOpen++;
  std::thread(runNonModal, start, std::string("tcl/qmsg_non_modal.tcl")).detach();
  std::unique_lock<std::mutex> lock(start->mutex);
  start->started.wait_for(lock, std::chrono::seconds(5), [&] { return start->ready; });
}

void qMsg(int level, const char *format, ...) {
  bool report = (level & QMSG_REPORT_FLAG) != 0;
  level &= ~QMSG_REPORT_FLAG;
  if (level & QMSG_NON_MODAL_FLAG) level = QMSG_NON_MODAL;
  if (level != 0 && level != QMSG_DEBUG && level != QMSG_ERROR && level != QMSG_INFO && level != QMSG_NON_MODAL)
    return;
  va_list ap;
  va_start(ap, format);
  std::string text = formatTextV(format, ap);
  va_end(ap);
  switch (level) {
    case QMSG_ERROR:
      showError(text, report);
      break;
    case QMSG_INFO:
      showInfo(text);
      break;
    case QMSG_NON_MODAL:
      showNonModal(text);
      break;
    default:
      writeToStream(stdout, text);
      break;
  }
}

int waitForNonModalDialogs(int timeoutMs) {
  for (int waited = 0; nonModalDialogsOpen > 0 && waited < timeoutMs; waited += 10) qSleep(10);
  return nonModalDialogsOpen;
}

int writeTclPassing(const char *text) {
  if (!text) return 0;
  return writeTextFile(TCL_PASSING_FILE, text) ? 0 : TCL_PASSING_WRITE_FAILED;
}

// The answer is the first line of the exchange file; one that does not fit the answer buffer
// is refused whole rather than cut, since a cut file name would name another file.
int readTclPassing(char *answer) {
  if (!answer) return 0;
  answer[0] = '\0';
  FILE *file = openRegularFile(TCL_PASSING_FILE);
  if (!file) return TCL_PASSING_READ_FAILED;
  // Room for one character more than an answer may hold and its CR LF: enough to tell a long line.
  char buffer[TCL_ANSWER_SIZE + 2];
  std::string line = fgets(buffer, sizeof buffer, file) ? buffer : "";
  fclose(file);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() >= TCL_ANSWER_SIZE) return TCL_PASSING_ANSWER_TOO_LONG;
  memcpy(answer, line.c_str(), line.size() + 1);
  return 0;
}

void reportTclError(Tcl_Interp *interp, int code) {
  if (!interp || code == 0) return;
  const char *result = Tcl_GetStringResult(interp);
  if (result && *result) qMsg(QMSG_DEBUG, "error in Tcl.c: %s\n", result);
}

// A dialog script that cannot be run is an error message with the first line of Tcl's reason, once
// a script (the pattern dialog is asked at every pattern change; the trace keeps every failure).
// When that message's own dialog fails too, its report reaches only the trace file and stderr.
static void reportFailedScript(const char *script, const std::string &result) {
  static std::mutex reportedMutex;
  static std::set<std::string> reported;
  {
    std::lock_guard<std::mutex> lock(reportedMutex);
    if (!reported.insert(script).second) return;
  }
  static thread_local int reporting = 0;
  std::string reason = result.substr(0, result.find('\n'));
  if (reporting) {
    std::string text = formatText(localText(245), script, reason.c_str());
    writeToStream(stdout, text);
    writeToStream(stderr, text);
    return;
  }
  reporting = 1;
  qMsg(QMSG_ERROR, localText(245), script, reason.c_str());
  reporting = 0;
}

bool isRunnableScript(const char *script) {
  FILE *file = openRegularFile(script);
  if (!file) return false;
  fclose(file);
  return true;
}

int InvokeTclCmd(const char *script, const char *request, int flags, char *answer) {
  if (flags & 1) {
    if (!qPrefs.notcl) qKill(qTclThreadIndex, 10);
    return 0;
  }
  if (!isRunnableScript(script)) {
    reportFailedScript(script, fileErrorReason(errno));
    return TCL_ERROR;
  }
  // A script would wait for ever on a FIFO in the exchange file's place, and a request that was
  // not written leaves the script an old one: it is not run.
  if (writeTclPassing(request) != 0) return TCL_PASSING_WRITE_FAILED;
  Tcl_Interp *interp = createTclInterp();
  if (!interp) return 1;
  int code = Tcl_EvalFile(interp, script);
  std::string result = Tcl_GetStringResult(interp);
  if (code == TCL_OK) runUntilClosed(interp);
  if (!result.empty()) qMsg(QMSG_DEBUG, "InvokeTclCmd(%s): %s\n", script, result.c_str());
  Tcl_DeleteInterp(interp);
  if (code != TCL_OK) {
    reportFailedScript(script, result);
    return code;
  }
  if (readTclPassing(answer) == TCL_PASSING_ANSWER_TOO_LONG)
    qMsg(QMSG_ERROR, localText(16), script, TCL_ANSWER_SIZE - 1);
  return 0;
}

static int ltCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  int n = 0;
  if (objc != 2) {
    Tcl_WrongNumArgs(interp, 1, objv, "number");
    return TCL_ERROR;
  }
  if (Tcl_GetIntFromObj(interp, objv[1], &n) != TCL_OK) return TCL_ERROR;
  std::string text = localTextLine(n);
  if (text.size() > 200) text.resize(200);
  Tcl_SetObjResult(interp, Tcl_NewStringObj(utf8FromLatin1(text).c_str(), -1));
  return TCL_OK;
}

static int killChildCommand(ClientData, Tcl_Interp *, int, Tcl_Obj *const[]) {
  qKill(qTclThreadIndex, 3);
  return TCL_OK;
}

// An unknown language keeps the current one and is an error of the command.
static int setLanguageCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  if (objc != 2) return TCL_BAD_ARGUMENT_COUNT;
  const char *name = Tcl_GetString(objv[1]);
  int language = languageIndex(name);
  if (language < 0) {
    Tcl_SetObjResult(interp, Tcl_ObjPrintf("unknown language \"%s\"", name));
    return TCL_ERROR;
  }
  qPrefs.language = language;
  return TCL_OK;
}

// "qReadUserFile name": the bytes of a regular file of at most 1 MiB; a missing file is empty. A
// file that is there but cannot be read is reported, and the command fails.
static int readUserFileCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  if (objc != 2) {
    Tcl_WrongNumArgs(interp, 1, objv, "name");
    return TCL_ERROR;
  }
  const char *name = Tcl_GetString(objv[1]);
  std::string text;
  int read = readRegularFile(name, text, MAX_TEXT_FILE_SIZE);
  if (read == READ_FILE_CANNOT_OPEN && errno == ENOENT) read = READ_FILE_OK;
  if (read != READ_FILE_OK) {
    qMsg(QMSG_ERROR, localText(33), name, fileErrorReason(errno));
    Tcl_SetObjResult(interp, Tcl_ObjPrintf("cannot read %s", name));
    return TCL_ERROR;
  }
  Tcl_SetObjResult(interp, Tcl_NewByteArrayObj(reinterpret_cast<const unsigned char *>(text.data()), int(text.size())));
  return TCL_OK;
}

// "qWritePrefs settings": stores a list of keys and values in the preferences file. The result is
// "written", "refused" (a key or value holds a line end) or "failed" (the file stays as it was);
// each failure has been reported.
static int writePrefsCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  int count = 0;
  Tcl_Obj **items = nullptr;
  if (objc != 2 || Tcl_ListObjGetElements(interp, objv[1], &count, &items) != TCL_OK || count % 2 != 0) {
    Tcl_WrongNumArgs(interp, 1, objv, "{key value ...}");
    return TCL_ERROR;
  }
  std::vector<std::pair<std::string, std::string>> settings;
  for (int i = 0; i < count; i += 2) settings.emplace_back(Tcl_GetString(items[i]), Tcl_GetString(items[i + 1]));
  int result = writePreferenceSettings(settings);
  const char *word = result == PREFS_WRITTEN ? "written" : result == PREFS_REFUSED ? "refused" : "failed";
  Tcl_SetObjResult(interp, Tcl_NewStringObj(word, -1));
  return TCL_OK;
}

// "qReadPassing": the request in the exchange file, whole, read from UTF-8. Only a regular file
// is read, with a bound, so a FIFO put there never stops the dialog; failing, the command fails
// with the reason and the dialog's script with it.
static int readPassingCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  if (objc != 1) {
    Tcl_WrongNumArgs(interp, 1, objv, "");
    return TCL_ERROR;
  }
  std::string text;
  if (readRegularFile(TCL_PASSING_FILE, text, MAX_TEXT_FILE_SIZE) != READ_FILE_OK) {
    Tcl_SetObjResult(interp, Tcl_ObjPrintf("cannot read %s: %s", TCL_PASSING_FILE, fileErrorReason(errno)));
    return TCL_ERROR;
  }
  Tcl_DString utf;
  Tcl_Encoding encoding = Tcl_GetEncoding(nullptr, "utf-8");
  Tcl_ExternalToUtfDString(encoding, text.data(), int(text.size()), &utf);
  Tcl_FreeEncoding(encoding);
  Tcl_DStringResult(interp, &utf);
  return TCL_OK;
}

// "qWriteAnswer answer": the answer as the exchange file's first line, written as the program
// writes the file itself: a link, FIFO or directory there is refused and reported. The result is
// 1 when the answer was written, else 0; the dialog closes either way.
static int writeAnswerCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  if (objc != 2) {
    Tcl_WrongNumArgs(interp, 1, objv, "answer");
    return TCL_ERROR;
  }
  std::string answer = std::string(Tcl_GetString(objv[1])) + "\n";
  Tcl_SetObjResult(interp, Tcl_NewIntObj(writeTclPassing(answer.c_str()) == 0));
  return TCL_OK;
}

// Dialog scripts source other scripts: a FIFO or a directory in a sourced script's place must not
// stop the dialog, so `source` takes regular files only (through links too), as the program's own
// script runs do; the file itself is then read by Tcl's own command under another name.
static int checkedSourceCommand(ClientData, Tcl_Interp *interp, int objc, Tcl_Obj *const objv[]) {
  const char *script = objc >= 2 ? Tcl_GetString(objv[objc - 1]) : "";
  if (objc >= 2 && !isRunnableScript(script)) {
    Tcl_SetObjResult(interp, Tcl_ObjPrintf("couldn't read file \"%s\": %s", script, fileErrorReason(errno)));
    return TCL_ERROR;
  }
  std::vector<Tcl_Obj *> words(objv, objv + objc);
  words[0] = Tcl_NewStringObj("::tcl::plainSource", -1);
  Tcl_IncrRefCount(words[0]);
  int code = Tcl_EvalObjv(interp, objc, words.data(), 0);
  Tcl_DecrRefCount(words[0]);
  return code;
}

static int checkSourcedScripts(Tcl_Interp *interp) {
  if (Tcl_Eval(interp, "rename ::source ::tcl::plainSource") != TCL_OK) return TCL_ERROR;
  Tcl_CreateObjCommand(interp, "::source", checkedSourceCommand, nullptr, nullptr);
  return TCL_OK;
}

Tcl_Interp *createTclInterp() {
  static std::once_flag executableFound;
  // Tcl takes its system encoding from the environment's character type and leaves that set for
  // the whole process; the character type goes back to "C", where the GLUT keyboard gives a key
  // such as 'ä' as its Latin-1 code and not as the first byte of its UTF-8 form.
  std::call_once(executableFound, [] {
    Tcl_FindExecutable(qArgv ? qArgv[0] : nullptr);
    setlocale(LC_CTYPE, "C");
    errorHandlerBeforeTk = XSetErrorHandler(dropErrorsOfDestroyedWindows);  // before Tk puts its own on top
  });
  Tcl_Interp *interp = Tcl_CreateInterp();
  if (Tcl_Init(interp) != TCL_OK) {
    qMsg(QMSG_DEBUG, "Tcl_Init failed: %s\n", Tcl_GetStringResult(interp));
    Tcl_DeleteInterp(interp);
    return nullptr;
  }
  if (Tk_Init(interp) != TCL_OK) {
    qMsg(QMSG_DEBUG, "Tk_Init failed: %s\n", Tcl_GetStringResult(interp));
    Tcl_DeleteInterp(interp);
    return nullptr;
  }
  if (checkSourcedScripts(interp) != TCL_OK) {
    qMsg(QMSG_DEBUG, "Tcl source check failed: %s\n", Tcl_GetStringResult(interp));
    Tcl_DeleteInterp(interp);
    return nullptr;
  }
  setlocale(LC_NUMERIC, "C");
  Tcl_CreateObjCommand(interp, "LT", ltCommand, nullptr, nullptr);
  Tcl_CreateObjCommand(interp, "KillChild", killChildCommand, nullptr, nullptr);
  Tcl_CreateObjCommand(interp, "SetLanguage", setLanguageCommand, nullptr, nullptr);
  Tcl_CreateObjCommand(interp, "qReadUserFile", readUserFileCommand, nullptr, nullptr);
  Tcl_CreateObjCommand(interp, "qWritePrefs", writePrefsCommand, nullptr, nullptr);
  Tcl_CreateObjCommand(interp, "qReadPassing", readPassingCommand, nullptr, nullptr);
  Tcl_CreateObjCommand(interp, "qWriteAnswer", writeAnswerCommand, nullptr, nullptr);
  return interp;
}

// One line of a dialog request: a text's own line end would make an empty line of its own and
// one inside it would shift the lines after it, so line ends at its end go and inner ones are blanks.
static std::string requestLine(const char *text) {
  std::string line = text ? text : "";
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  for (char &c : line)
    if (c == '\n' || c == '\r') c = ' ';
  return line;
}

// The dialog answers a number, 0 when its window was closed without a choice; no number at all
// means the question was never asked.
int askUser(const char *a, const char *b, const char *c) {
  std::string request = requestLine(a) + "\n" + requestLine(b) + "\n" + requestLine(c);
  char answer[TCL_ANSWER_SIZE] = "";
  if (InvokeTclCmd("tcl/askuser.tcl", request.c_str(), 0, answer) != 0) return ASK_USER_NOT_ASKED;
  char *end;
  long number = strtol(answer, &end, 10);
  return end == answer ? ASK_USER_NOT_ASKED : int(number);
}

static bool isRememberedDirectory(const char *directory) {
  return strcmp(directory, "m") == 0 || strcmp(directory, "m/") == 0 || strcmp(directory, "m\\") == 0;
}

int qStdFileReq(const char *directory, char *answer, int, const char *text, int number) {
  static std::string remembered = "m/";
  const char *start = !directory || isRememberedDirectory(directory) ? remembered.c_str() : directory;
  std::string request =
      requestLine(start) + "\n" + requestLine(text ? text : "*") + "\n" + std::to_string(number) + "\n";
  answer[0] = '\0';
  int code = InvokeTclCmd("tcl/stdfilereq.tcl", request.c_str(), 0, answer);
  if (code != 0) {
    qMsg(QMSG_ERROR, localText(15), code, "qStdFileReq");
    return 1;
  }
  if (!answer[0]) return 1;
  remembered = directoryOfPath(answer);
  return 0;
}
