// Walking editor: the commands of its menu and of its panel, and its help screen. Entering and
// leaving are the scene editor's StartEditor and EndEditor; the panel runs in Tcl thread 3 and
// its save and leave arrive here on the main thread through the request queue.
#include "ui/walkingeditor.h"

#include "core/Tcl.h"
#include "core/native_windows.h"
#include "core/uistate.h"
#include "ui/editor.h"
#include "ui/keyframes.h"
#include "ui/modes.h"
#include "ui/screens.h"

enum { WEH_LINES = 15 };

void walkingEditorMenu(int command) {
  switch (command) {
    case 18: qSetMode(0xB000, 0); break;
    case 33: qSetMode(0x9000, 0); break;
    case 60: qSetMode(uint32_t(FLAG_COORDINATES), 0); break;
    case 92: ResetEditorView(); break;
    case 97:
    case 98:
      // The panel may answer after the editor was left some other way.
      if (qMode.main != MAIN_WALKING_EDITOR) {
        qMsg(QMSG_DEBUG, "walkingEditorMenu(%d): the walking editor is not running\n", command);
        break;
      }
      if (command == 97) writeKeyframes2patternFile();
      EndEditor();
      break;
    case 138: ToggleEditorEditMode(0); break;
    default: break;
  }
}

std::string walkingEditorHelpText(int *width) {
  std::string text = "\n\n";
  appendHelpLine(text, -1);
  for (int n : {2632, 2633, 2634}) appendHelpLine(text, n);
  text += "\n";
  appendHelpLine(text, 2635);
  text += "\n";
  appendHelpLine(text, 2636);
  *width = appendHelpLine(text, -2);
  return text;
}

void ShowWalkingEditorHelp() {
  if (editorHelpShown) return;
  int width;
  std::string text = walkingEditorHelpText(&width);
  int needed = countTextLines(text.c_str()) + 1;
  if (needed > WEH_LINES)
    qMsg(QMSG_ERROR, "ShowWalkingEditorHelp(): WEH_LINES is zu klein: %d w\xe4ren n\xf6tig\n", needed);
  qMsg(QMSG_DEBUG, "%s", text.c_str());
  editorHelpShown = 1;
  qTextOutput(text.c_str(), countTextLines(text.c_str()), width, 0);
}
