// Scene editor: the jugglers and props of the pattern are selected, moved, turned, added, hidden
// and placed on a circle with the mouse and the keys, and written back into the pattern file as its
// "j" and "z" blocks. The editor's objects are the top-level nodes of the model tree. In classic
// mode there is no model tree: the editor then keeps top-level nodes of its own for the jugglers
// and props, made from the loaded pattern, and shows them as the fixed placements.
#include "ui/editor.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/tclthreads.h"
#include "core/utils.h"
#include "core/vecmath.h"
#include "core/viewrecords.h"
#include "pattern/modeltable.h"
#include "pattern/reader.h"
#include "pattern/rewriter.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "scene/placements.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrmlaids.h"
#include "scene/vrmlscene.h"
#include "ui/glut_windows.h"
#include "ui/keyframes.h"
#include "ui/modes.h"
#include "ui/remote.h"
#include "ui/screens.h"

int editState;
char editorHint[100];
int editorJugglerCount;
int editorObjectCount;
int editDrag = NO_EDIT_DRAG;
double circleRadius = 2.0;

static int lastDragX, lastDragY;
static int metersWereOn;
int editorHelpShown;

const double DEGREES_PER_RADIAN = 57.29577951;
enum { EH_LINES = 15, FSE_ZEILEN = 25, NODE_STACK_SIZE = 32, KIND_BITS = 0x7ff00 };

// ---- the editor's objects -----------------------------------------------------------------------

// Classic mode: a list head and one node per juggler and prop, with the placement model of each.
enum { CLASSIC_NODES = 1 + 3 * MAX_JUGGLERS + 2 * MAX_PROPS };
static ObjectNode classicNodes[CLASSIC_NODES];
static int classicModel[CLASSIC_NODES];
static int classicNodeCount;
static bool classicScene;

static ObjectNode *sceneHead() { return classicScene ? classicNodes : qScene; }

static bool isJuggler(const ObjectNode *node) { return node->flags & NODE_JUGGLER; }
static bool isHidden(const ObjectNode *node) { return node->flags & NODE_HIDDEN; }
static bool isProp(const ObjectNode *node) {
  const uint32_t notProps = NODE_TAKES_CHOOSER_MODEL | NODE_JUGGLER | NODE_HIDDEN | NODE_NOT_A_PROP;
  return !(node->flags & notProps);
}

ObjectNode *firstEditorNode() {
  ObjectNode *head = sceneHead();
  return head ? head->next : nullptr;
}

static ObjectNode *firstTopNode() {
  for (ObjectNode *n = firstEditorNode(); n; n = n->next)
    if (!n->parent) return n;
  return nullptr;
}

static ObjectNode *newClassicNode(int model, const char *name) {
  if (classicNodeCount >= CLASSIC_NODES) return nullptr;
  ObjectNode *node = &classicNodes[classicNodeCount];
  *node = ObjectNode{};
  snprintf(node->name, sizeof node->name, "%s", name);
  classicModel[classicNodeCount] = model;
  if (classicNodeCount > 0) classicNodes[classicNodeCount - 1].next = node;
  classicNodeCount++;
  return node;
}

static int instanceModel(int instance) {
  return instance >= 0 && instance <= INSTANCE_SLOTS ? objectInstanceList[instance] : -1;
}

static const char *modelName(int model) {
  return objekt_geladen && model >= 0 && model < LOO_MAX ? objekt_geladen[model].name : "";
}

// The jugglers and props of the loaded pattern as the classic editor's nodes, in the order the
// model tree would hold them: the floor as the list head, the jugglers, the props.
static void buildClassicScene() {
  classicNodeCount = 0;
  newClassicNode(0, "floor");
  for (int j = 0; j < jugglers && j < MAX_JUGGLERS; j++) {
    int model = instanceModel(j + 1);
    ObjectNode *node = newClassicNode(model, modelName(model));
    node->flags = NODE_JUGGLER | (hiddenJuggler[j] ? uint32_t(NODE_HIDDEN) : 0u);
    node->labelNumber = j;
    node->number = j + 1;
    memcpy(node->position, quoitPos[j].position, sizeof node->position);
    node->angles[2] = quoitPos[j].ZWinkel * DEGREES_PER_RADIAN;
  }
  for (int k = 0; k < propCount && k < MAX_PROPS; k++) {
    const PropRecord &prop = propRecords[k];
    ObjectNode *node = newClassicNode(instanceModel(jugglers + 1 + k), prop.name);
    node->number = jugglers + 1 + k;
    memcpy(node->position, prop.position, sizeof node->position);
    memcpy(node->angles, prop.angles, sizeof node->angles);
  }
  classicScene = true;
}

// Classic mode shows the visible nodes as the fixed placements.
static void showClassicScene() {
  if (!classicScene) return;
  sceneObjectList(nullptr, 1);
  for (int i = 1; i < classicNodeCount; i++) {
    const ObjectNode &n = classicNodes[i];
    if (isHidden(&n) || classicModel[i] < 0) continue;
    Placement p{int16_t(classicModel[i]), encodeAngle(n.angles[0] / DEGREES_PER_RADIAN), 0, 0, 0,
                encodeAngle(n.angles[1] / DEGREES_PER_RADIAN), encodeAngle(n.angles[2] / DEGREES_PER_RADIAN), 0};
    p.x = packMillimetres(n.position[0]);
    p.y = packMillimetres(n.position[1]);
    p.z = packMillimetres(n.position[2]);
    sceneObjectList(&p, 2);
  }
}

// The model tree when it holds the scene, else the classic editor's own nodes. A juggler the
// "j" block marks invisible counts as hidden in both.
static void chooseEditorScene() {
  classicScene = false;
  if (!firstTopNode()) {
    buildClassicScene();
    return;
  }
  for (ObjectNode *n = firstTopNode(); n; n = n->next)
    if (!n->parent && isJuggler(n) && n->labelNumber >= 0 && n->labelNumber < MAX_JUGGLERS && hiddenJuggler[n->labelNumber])
      n->flags |= NODE_HIDDEN;
}

static int visibleJugglerWithLabel(int label, const ObjectNode *except) {
  for (ObjectNode *n = firstTopNode(); n; n = n->next)
    if (n != except && !n->parent && isJuggler(n) && !isHidden(n) && n->labelNumber == label) return 1;
  return 0;
}

// The lowest juggler number that no visible juggler holds; -1 when all are held.
static int freeJugglerSlot() {
  for (int j = 0; j < jugglers && j < MAX_JUGGLERS; j++)
    if (!visibleJugglerWithLabel(j, nullptr)) return j;
  return -1;
}

static void setHandKind(int hand, int flag) {
  if (!fangwurf || hand < 0 || hand >= 2 * jugglers) return;
  fangwurf[hand].flag = (fangwurf[hand].flag & ~KIND_BITS) | flag;
}

// ---- selection, hiding, start and end -----------------------------------------------------------

void SelectNextEditorObject() {
  ObjectNode *node = editorObject;
  for (int restarts = 0; restarts <= 2;) {
    node = node ? node->next : nullptr;
    if (!node) {
      restarts++;
      node = firstEditorNode();
      if (!node) return;
    }
    if (!isHidden(node) && !node->parent) {
      editorObject = node;
      return;
    }
  }
}

// The pattern's juggled objects disappear while an editor runs: in classic mode they are the
// flying list's rows.
void SetEditorHiddenObjects(int show) {
  if (classicScene) {
    if (show) showPatternFlyingList();
    else showFloorOnlyFlyingList();
  }
  for (ObjectNode *n = firstEditorNode(); n; n = n->next) {
    if (!(n->flags & NODE_TAKES_CHOOSER_MODEL)) continue;
    if (show) n->flags &= ~NODE_HIDDEN;
    else n->flags |= NODE_HIDDEN;
  }
}

void ResetEditorView() {
  cameraState.elevation = 41 / DEGREES_PER_RADIAN;
  cameraState.azimuth = 3 * PI / 2;
  cameraState.distance = 19.8;
  cameraState.zoom = 970;
  computeEyePosition(cameraState.eye);
  qSetMode(0x9000, 0);
  editDrag = NO_EDIT_DRAG;
}

void ToggleEditorEditMode(int how) {
  if (how == 0) how = editState == EDITING_OBJECTS ? 2 : 1;
  if (how == 1) {
    editState = EDITING_OBJECTS;
  } else if (how == 2) {
    editState = 0;
    editDrag = NO_EDIT_DRAG;
  } else {
    qMsg(QMSG_ERROR, localText(43), how, "ToggleEditorEditMode()");
  }
  qGlutqrcsubDisplay();
}

static bool windowOpen() { return qWindowIds[WIN_3D] != 0; }

// The editor takes the drags of the 3D window and of the remote's panel (hidden or not: shown
// again, it keeps them while the editor runs).
static void SetEditorMouseFuncs() {
  metersWereOn = (qMode.flags & FLAG_METERS) != 0;
  if (metersWereOn) qSetMode(uint32_t(FLAG_METERS), 0);
  if (qWindowIds[WIN_QRCSUB]) {
    glutSetWindow(qWindowIds[WIN_QRCSUB]);
    glutMotionFunc(EditorMotion);
    glutMouseFunc(EditorMouse);
  }
  if (windowOpen() && qGlutSetWindow(qWindowIds[WIN_3D])) {
    glutMotionFunc(EditorMotion);
    glutMouseFunc(EditorMouse);
  }
  qGlutqrcsubDisplay();
}

// What the editor does not take goes on to the window it came from: the panel or the 3D window.
static bool fromPanel() { return qWindowIds[WIN_QRCSUB] && glutGetWindow() == qWindowIds[WIN_QRCSUB]; }

static int startWalkingEditorThread();

// The walking editor shows the paths of jugglers 0-4.
enum { WALKING_PATH_JUGGLERS = 31 };

// Every keyframe's segment with its juggler, for the walking-path nodes.
static void showWalkingPaths() {
  if (!qPrefs.vrml) return;
  std::vector<WalkingSegment> segments;
  int walked = 0;
  for (const Keyframe *k = keyframeList; k && walked++ < KEYFRAMES_MAX; k = k->next) {
    WalkingSegment s;
    s.juggler = k->j;
    memcpy(s.point, k->point, sizeof s.point);
    segments.push_back(s);
  }
  qMakeVRMLWalkingPaths(WALKING_PATH_JUGGLERS, segments.data(), int(segments.size()));
}

// A failed start leaves everything as it was before.
int StartEditor() {
  chooseEditorScene();
  editorObject = firstTopNode();
  if (editorObject && isHidden(editorObject)) SelectNextEditorObject();
  if (!editorObject) {
    qMsg(QMSG_DEBUG, "StartEditor(): the scene has no object\n");
    return 270501;
  }
  if (qMode.main == MAIN_WALKING_EDITOR) {
    if (int result = startWalkingEditorThread()) {
      editorObject = nullptr;
      classicScene = false;
      return result;
    }
    showWalkingPaths();
  }
  SetEditorHiddenObjects(0);
  editorJugglerCount = editorObjectCount = 0;
  for (ObjectNode *n = firstTopNode(); n; n = n->next) {
    if (n->parent) continue;
    editorJugglerCount += isJuggler(n) && !isHidden(n);
    editorObjectCount += isProp(n);
  }
  editDrag = NO_EDIT_DRAG;
  editState = EDITING_OBJECTS;
  ResetEditorView();
  SetEditorMouseFuncs();
  editorHelpShown = 0;
  if (qMode.main == MAIN_SCENE_EDITOR) {
    ShowEditorHelp();
    for (int h = 0; h < 2 * jugglers && fangwurf; h++)
      if (!(fangwurf[h].flag & KIND_BITS)) setHandKind(h, KOT_c);
  }
  showClassicScene();
  return 0;
}

// The walking editor's Tcl thread gets the beat count and duration through the exchange file; a
// panel without them is not started.
static int startWalkingEditorThread() {
  char text[64];
  snprintf(text, sizeof text, "%d\n%f", takte, dt);
  if (writeTclPassing(text) != 0 || qStartTclThread(TCL_THREAD_WALKING_EDITOR) != 0) {
    qMsg(QMSG_ERROR, localText(15), 20051108, "StartEditor");
    return 20051108;
  }
  return 0;
}

int EndEditor() {
  if (qMode.main == MAIN_SCENE_EDITOR) {
    if (shownSiteswap[0]) {
      std::string question = localText(2630), save = localTextLine(2646), leave = localTextLine(2647);
      int answer = askUser(question.c_str(), save.c_str(), leave.c_str());
      if (answer == 0) return 0;
      if (answer == 1) SaveEditorPattern(0);
      // A question that cannot be asked must not keep the user in the editor: it is left unsaved.
      if (answer == ASK_USER_NOT_ASKED) {
        std::string notice = localTextLine(2656);
        qMsg(QMSG_DEBUG, "%s\n", notice.c_str());
        qGlutShowNotice(notice.c_str());
      }
    }
    nextPatternAction = ACTION_RELOAD;
    restartRequest = 1;
    qSetMode(MAIN_SCENE_EDITOR, 0);
  } else if (qMode.main == MAIN_WALKING_EDITOR) {
    if (qPrefs.vrml) qRemoveWalkingPaths(WALKING_PATH_JUGGLERS);
    closeWalkingEditorPanel();
    qSetMode(MAIN_WALKING_EDITOR, 0);
  } else {
    return 0;
  }
  SetEditorHiddenObjects(1);
  if (metersWereOn) qSetMode(uint32_t(FLAG_METERS), 0);
  metersWereOn = 0;
  ToggleEditorEditMode(2);
  if (windowOpen()) qGlutSetMainFuncs();
  editorHelpShown = 0;
  editorObject = nullptr;
  return 0;
}

// ---- mouse --------------------------------------------------------------------------------------

void EditorMouse(int button, int state, int x, int y) { editorMouseWith(button, state, x, y, glutGetModifiers()); }

void editorMouseWith(int button, int state, int x, int y, int modifiers) {
  if (button == GLUT_LEFT_BUTTON && (modifiers & GLUT_ACTIVE_CTRL)) button = GLUT_MIDDLE_BUTTON;
  if (editState != EDITING_OBJECTS) {
    if (fromPanel()) qGlutqrcsubMouse(button, state, x, y);
    else qGlutMouse(button, state, x, y);
    return;
  }
  if (state != GLUT_DOWN) return;
  if (button == GLUT_LEFT_BUTTON) {
    if (modifiers & GLUT_ACTIVE_SHIFT) editDrag = 2;
    else editDrag = editDrag == 0 ? 1 : 0;
  } else if (button == GLUT_MIDDLE_BUTTON) {
    editDrag = editDrag == 4 ? 5 : 4;
  } else {
    return;
  }
  EditorMotion(x, y);
}

void EditorMotion(int x, int y) {
  ObjectNode *node = editorObject;
  double width = qPrefs.width > 0 ? qPrefs.width : 1, height = qPrefs.height > 0 ? qPrefs.height : 1;
  if (!node || editState != EDITING_OBJECTS || editDrag < 0 || editDrag > 5) {
    if (fromPanel()) qGlutqrcsubMotion(x, y);
    else qGlutMotion(x, y);
    return;
  }
  switch (editDrag) {
    case 0: case 2: case 4: editDrag++; break;
    case 1:
      node->position[0] += (x - lastDragX) / width * 5;
      node->position[1] += (lastDragY - y) / height * 5;
      break;
    case 3: node->position[2] += (lastDragY - y) / height * 5; break;
    case 5: node->angles[2] += (x - lastDragX) / width * 400; break;
  }
  lastDragX = x;
  lastDragY = y;
  showClassicScene();
}

// ---- adding, hiding, placing --------------------------------------------------------------------

static const double NEW_OBJECT_POSITION[3] = {2.0, 2.0, 0.0};

static int addJuggler() {
  int slot = freeJugglerSlot();
  if (slot < 0) {
    qMsg(QMSG_INFO, localText(2643), jugglers);
    return EDITOR_NO_ROOM;
  }
  int loadedBefore = loadedObjectCount;
  ObjectNode *classic = nullptr;
  if (classicScene && !(classic = newClassicNode(-1, ""))) {
    qMsg(QMSG_INFO, localText(2643), jugglers);
    return EDITOR_NO_ROOM;
  }
  if (Mensch_laden(NEW_OBJECT_POSITION, 0)) {
    if (classic) classicNodeCount--, classicNodes[classicNodeCount - 1].next = nullptr;
    return 2;
  }
  ObjectNode *node = classic ? classic : fileRootNode;
  if (!node) return 2;
  if (classic) {
    classicModel[classicNodeCount - 1] = loadedObjectCount > loadedBefore ? loadedObjectCount - 1 : -1;
    snprintf(node->name, sizeof node->name, "%s", modelName(classicModel[classicNodeCount - 1]));
  }
  node->flags = (node->flags & ~NODE_HIDDEN) | NODE_JUGGLER;
  node->labelNumber = slot;
  memcpy(node->position, NEW_OBJECT_POSITION, sizeof node->position);
  node->angles[0] = node->angles[1] = node->angles[2] = 0;
  setHandKind(2 * slot, KOT_c);
  setHandKind(2 * slot + 1, KOT_c);
  editorJugglerCount++;
  editorObject = node;
  return 0;
}

// The chosen file without the home directory; a name the "z" block cannot hold is refused.
static int chosenPropName(std::string &name) {
  char answer[TCL_ANSWER_SIZE];
  const char *start = qPrefs.vrml ? "v/basic/" : "o/";
  if (qStdFileReq(start, answer, 0, qPrefs.vrml ? "*.wrl" : "*", 2626)) return 1;
  name = backslashToSlash(std::string(answer));
  std::string home = backslashToSlash(qPrefs.homeDirectory);
  if (!home.empty() && home.back() != '/') home += '/';
  if (!home.empty() && name.compare(0, home.size(), home) == 0) name = name.substr(home.size());
  if (name.empty() || name.find_first_of(" \t\r\n") != std::string::npos || name.size() >= sizeof(PropRecord{}.name)) {
    qMsg(QMSG_ERROR, localText(2645), name.c_str());
    return 2;
  }
  return 0;
}

static int addProp() {
  if (editorObjectCount >= MAX_PROPS) {
    qMsg(QMSG_ERROR, localText(771), int(MAX_PROPS));
    return EDITOR_NO_ROOM;
  }
  std::string name;
  if (int result = chosenPropName(name)) return result;
  ObjectNode *node = nullptr;
  if (classicScene) {
    node = newClassicNode(-1, name.c_str());
    if (!node) return EDITOR_NO_ROOM;
    int loaded = Objektdatei_laden(name.c_str(), -1, 0, 0, 0, 0, OBJ_FIXED);
    if (loaded == LOAD_FAILED) {
      classicNodeCount--;
      classicNodes[classicNodeCount - 1].next = nullptr;
      return 2;
    }
    classicModel[classicNodeCount - 1] = loaded >= 0 ? loaded : loadedObjectCount - 1;
  } else {
    if (loadObjectByName(name.c_str(), NEW_OBJECT_POSITION, 0, 0, 0, 0)) return 2;
    node = fileRootNode;
    if (!node) return 2;
  }
  memcpy(node->position, NEW_OBJECT_POSITION, sizeof node->position);
  editorObjectCount++;
  editorObject = node;
  return 0;
}

int AddEditorObject(int what) {
  int result = what == 0 ? addJuggler() : what == 1 ? addProp() : -1;
  if (result < 0) {
    qMsg(QMSG_ERROR, localText(43), what, "AddEditorObject()");
    return 1;
  }
  if (result == 0) showClassicScene();
  return result;
}

// The node and everything below it (children and their brothers, depth first); the node's own
// brothers are not touched.
int DeleteEditorObject(ObjectNode *node, int hide) {
  qMsg(QMSG_DEBUG, hide ? "make invisible\n" : "make visible\n");
  auto mark = [hide](ObjectNode *n) {
    if (hide) n->flags |= NODE_HIDDEN;
    else n->flags &= ~NODE_HIDDEN;
  };
  mark(node);
  ObjectNode *stack[NODE_STACK_SIZE];
  int depth = 0;
  if (node->child) stack[depth++] = node->child;
  while (depth > 0) {
    ObjectNode *n = stack[--depth];
    mark(n);
    for (ObjectNode *below : {n->brother, n->child}) {
      if (!below) continue;
      if (depth == NODE_STACK_SIZE) {
        qMsg(QMSG_ERROR, "DeleteEditorObject: Push Stack Error 2.\n");
        return 3;
      }
      stack[depth++] = below;
    }
  }
  editorJugglerCount += hide ? -1 : 1;
  return 0;
}

int DeleteCurrentEditorObject() {
  ObjectNode *node = editorObject;
  if (!node) return 2;
  if (isJuggler(node)) {
    if (editorJugglerCount <= 1) return 4;
    node->flags &= NODE_JUGGLER;
    if (DeleteEditorObject(node, 1)) return 2;
  } else {
    node->flags = NODE_HIDDEN;
    editorObjectCount--;
  }
  SelectNextEditorObject();
  showClassicScene();
  return 0;
}

void PlaceJugglersInCircle(int value) {
  int n = value - 111;
  if (n < 3 || n > 20) {
    qMsg(QMSG_ERROR, localText(43), value, "PlaceJugglersInCircle()");
    return;
  }
  if (n > jugglers) {
    qMsg(QMSG_INFO, localText(2644), n, jugglers);
    return;
  }
  int needed = n - editorJugglerCount;
  ObjectNode *node = sceneHead();
  for (int i = 0; i < n; i++) {
    ObjectNode *taken = nullptr;
    while (!taken && node && (node = node->next)) {
      if (node->parent || !isJuggler(node)) continue;
      if (!isHidden(node)) {
        taken = node;
      } else if (needed > 0 && !visibleJugglerWithLabel(node->labelNumber, node)) {
        DeleteEditorObject(node, 0);
        needed--;
        taken = node;
      }
    }
    if (!taken) {
      ObjectNode *selected = editorObject;
      if (AddEditorObject(0) != 0) break;
      taken = editorObject;
      editorObject = selected;
      node = nullptr;
    }
    double a = 360.0 / n * i / DEGREES_PER_RADIAN;
    taken->position[0] = cos(a) * circleRadius;
    taken->position[1] = sin(a) * circleRadius;
    taken->position[2] = 0;
    taken->angles[2] = 360.0 / n * i - 180;
  }
  SelectNextEditorObject();
  showClassicScene();
}

int selectedEditorJuggler() {
  return editorObject && isJuggler(editorObject) ? editorObject->labelNumber : -1;
}

void centreSelectedEditorObject() {
  if (!editorObject) return;
  editorObject->position[0] = editorObject->position[1] = 0;
  editorObject->angles[2] = 0;
  showClassicScene();
}

void groundSelectedEditorObject() {
  if (!editorObject) return;
  editorObject->position[2] = 0;
  showClassicScene();
}

// ---- the blocks and saving ----------------------------------------------------------------------

// A whole number of degrees keeps the short form; other angles keep their tenths.
static std::string angleText(double degrees) {
  if (fabs(degrees - std::round(degrees)) < 0.05) return formatText("%4.0f", degrees);
  return formatText("%6.1f", degrees);
}

// A letter the reader takes back: a hand without a known kind is written as 'c'.
static char handLetter(int hand) {
  char letter = fangwurf && hand < 2 * jugglers ? Wurfart_Buchstabe(uint32_t(fangwurf[hand].flag & KIND_BITS)) : ' ';
  return letter == ' ' ? 'c' : letter;
}

std::string editorPropName(const char *model) {
  std::string name = backslashToSlash(std::string(model ? model : ""));
  std::string home = backslashToSlash(qPrefs.homeDirectory);
  if (!home.empty() && home.back() == '/') home.pop_back();
  size_t at = home.empty() ? std::string::npos : name.find(home);
  if (at != std::string::npos) {
    name = name.substr(at + home.size());
    if (!name.empty() && name[0] == '/') name.erase(0, 1);
  } else if (!name.empty() && name[0] == '/') {
    return name;
  }
  size_t dot = name.rfind('.'), slash = name.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.erase(dot);
  if (!name.empty()) name[0] = 'o';
  return name;
}

// Every juggler number of the pattern gets one entry: its visible figure, else its hidden one
// marked "i", so the block always holds the pattern's juggler count.
static int jugglerBlock(std::string &text) {
  text = "j\n";
  for (int j = 0; j < jugglers; j++) {
    const ObjectNode *chosen = nullptr;
    for (ObjectNode *n = firstTopNode(); n; n = n->next) {
      if (n->parent || !isJuggler(n) || n->labelNumber != j) continue;
      if (!isHidden(n)) {
        chosen = n;
        break;
      }
      if (!chosen) chosen = n;
    }
    double zero[3] = {0, 0, 0};
    const double *p = chosen ? chosen->position : zero;
    text += angleText(chosen ? chosen->angles[2] : 0) + "\n";
    text += formatText("%5.2f %5.2f %5.2f %c %c", p[0], p[1], p[2], handLetter(2 * j), handLetter(2 * j + 1));
    text += !chosen || isHidden(chosen) ? " i\n" : "\n";
  }
  return jugglers;
}

static int propBlock(std::string &text) {
  std::string entries;
  int count = 0;
  for (ObjectNode *n = firstTopNode(); n && count < MAX_PROPS; n = n->next) {
    if (n->parent || !isProp(n)) continue;
    const double *a = n->angles;
    entries += editorPropName(n->name);
    if (a[0] != 0 || a[1] != 0) entries += " r " + angleText(a[0]) + " " + angleText(a[1]) + " " + angleText(a[2]);
    else entries += "\n" + angleText(a[2]);
    entries += formatText("\n%5.2f %5.2f %5.2f\n", n->position[0], n->position[1], n->position[2]);
    count++;
  }
  text = formatText("z=%d\n", count) + entries;
  return count;
}

int EditorObjectsToText(std::string &text, int kind) {
  text.clear();
  if (kind == EDITOR_JUGGLER_BLOCK) return jugglerBlock(text);
  if (kind == EDITOR_PROPS_BLOCK) return propBlock(text);
  qMsg(QMSG_ERROR, localText(43), kind, "EditorObjectsToText()");
  return 0;
}

// The file written is the one the pattern loader reads for the name (a leading digit means "m/").
int SaveEditorPattern(int how) {
  std::string target = patternFileArgument(currentPatternFile.c_str());
  if (how == 0) {
    char answer[TCL_ANSWER_SIZE];
    if (qStdFileReq("m/", answer, 0, "*", 2607)) return 1;
    shownSiteswap[0] = '\0';
    std::string chosen = patternFileArgument(answer);
    if (copyFile(chosen.c_str(), target.c_str()) != COPY_OK) {
      qMsg(QMSG_ERROR, localText(41), answer);
      return 3;
    }
    currentPatternFile = answer;
    target = chosen;
  }
  std::string jBlock, zBlock;
  EditorObjectsToText(jBlock, EDITOR_JUGGLER_BLOCK);
  int props = EditorObjectsToText(zBlock, EDITOR_PROPS_BLOCK);
  const char *file = target.c_str();
  Musterdatei_modif(file, jBlock.c_str(), MODIF_REPLACE);
  if (!patternEntryWritten(file, jBlock)) return EDITOR_SAVE_FAILED;
  Musterdatei_modif(file, "p", MODIF_REMOVE);
  Musterdatei_modif(file, "P", MODIF_REMOVE);
  if (props <= 0) Musterdatei_modif(file, "z", MODIF_REMOVE);
  else Musterdatei_modif(file, zBlock.c_str(), MODIF_REPLACE);
  if (props > 0 && !patternEntryWritten(file, zBlock)) return EDITOR_SAVE_FAILED;
  return 0;
}

// ---- help and status ----------------------------------------------------------------------------

std::string editorHelpText(int *width) {
  std::string text = "\n\n";
  appendHelpLine(text, -1);
  for (int n = 2637; n <= 2642; n++) appendHelpLine(text, n);
  text += "\n";
  for (int n : {2632, 2633, 2634}) appendHelpLine(text, n);
  text += "\n";
  appendHelpLine(text, 2636);
  *width = appendHelpLine(text, -2);
  return text;
}

// Shows an editor's help once each time an editor is entered; the text goes to the level given
// too. Both help screens hold 15 lines; the limit's name is that of the caller's message.
void showEditorHelpScreen(const std::string &text, int width, const char *limitName, int level) {
  if (editorHelpShown) return;
  int needed = countTextLines(text.c_str()) + 1;
  if (needed > EH_LINES) qMsg(QMSG_ERROR, "%s is zu klein: %d w\xe4ren n\xf6tig\n", limitName, needed);
  qMsg(level, "%s", text.c_str());
  editorHelpShown = 1;
  qTextOutput(text.c_str(), countTextLines(text.c_str()), width, 0);
}

void ShowEditorHelp() {
  if (editorHelpShown) return;
  int width;
  std::string text = editorHelpText(&width);
  showEditorHelpScreen(text, width, "ShowEditorHelp(): EH_LINES", QMSG_INFO);
}

static void appendLine(std::string &text, const std::string &line) {
  text += line;
  if (line.empty() || line.back() != '\n') text += '\n';
}

std::string editorStatusText(int *lines) {
  std::string text = formatText(remoteState == REMOTE_SHOWN ? "%s\n\n" : "Quoit %s\n\n", versionText());
  appendLine(text, localText(2610));
  text += "\n";
  appendLine(text, formatText(localText(216), editorJugglerCount));
  appendLine(text, formatText(localText(2628), editorObjectCount));
  text += "\n";
  if (const ObjectNode *n = editorObject) {
    text += formatText("     X:%6.3fm\n     Y:%6.3fm\n     Z:%6.3fm\n", n->position[0], n->position[1], n->position[2]);
    appendLine(text, formatText(localText(205), n->angles[2]));
    text += "\n";
    if (isJuggler(n)) {
      appendLine(text, formatText(localText(2620), handLetter(2 * n->labelNumber)));
      appendLine(text, formatText(localText(2621), handLetter(2 * n->labelNumber + 1)));
    }
  }
  text += "\n";
  *lines = 0;
  for (char c : text) *lines += c == '\n';
  return text;
}

void qFullStatusEditor() {
  int lines;
  std::string text = editorStatusText(&lines);
  if (lines > FSE_ZEILEN) qMsg(QMSG_ERROR, "qFullStatusEditor(): FSE_ZEILEN is zu klein: %d w\xe4ren n\xf6tig\n", lines);
  // As wide as its widest line where the window has room, else wrapped at the window's width.
  int columns = std::min(widestTextLine(text), windowTextColumns());
  qTextOutput(text.c_str(), wrappedTextLines(text, columns), columns, 1);
}
