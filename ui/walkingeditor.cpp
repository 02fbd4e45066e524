// Walking editor: the commands of its menu and of its panel, and its help screen. Entering and
// leaving are the scene editor's StartEditor and EndEditor; the panel runs in Tcl thread 3 and
// its save and leave arrive here on the main thread through the request queue.
#include "ui/walkingeditor.h"

#include "core/Tcl.h"
#include "core/uistate.h"
#include "ui/editor.h"
#include "ui/keyframes.h"
#include "ui/modes.h"
#include "ui/screens.h"

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
  showEditorHelpScreen(text, width, "ShowWalkingEditorHelp(): WEH_LINES", QMSG_DEBUG);
}
