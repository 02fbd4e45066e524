// Developer dumps of the scene's data. They only read; every walk along a list is bounded, so a
// list that runs in a circle still ends, and names from model files are escaped in the HTML.
#include "scene/modeldumps.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "core/userfiles.h"
#include "core/Tcl.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "core/utils.h"
#include "pattern/store.h"
#include "scene/kinematics.h"
#include "scene/objects.h"
#include "scene/vrml/modeltree.h"

enum {
  MAX_WALK = 100000,   // nodes of one list or chain a dump walks at most
  ROW_CELLS = 2500,    // cells of one row of a tree table
  HEADER_EVERY = 22,   // node-table rows between two header rows
  JUGGLER_RECORDS = int(sizeof invKinTable / sizeof invKinTable[0]),
};

static unsigned long address(const void *p) { return (unsigned long)(uintptr_t)p; }

static std::string nodeName(const ObjectNode *n) { return std::string(n->name, strnlen(n->name, sizeof n->name)); }

static const char *typeName(int type) {
  switch (type) {
    case 1: return "BALL";
    case 2: return "CLUB";
    case 3: return "RING";
    default: return "    ";
  }
}

static char shownLetter(char c) { return std::isalnum((unsigned char)c) ? c : ' '; }

// The first angle that is not 0, in the order x, y, z, and its axis; 0 and a blank when all are 0.
static double firstAngle(const ObjectNode *n, char *axis) {
  for (int i = 0; i < 3; i++) {
    if (n->angles[i] != 0) {
      *axis = "XYZ"[i];
      return n->angles[i];
    }
  }
  *axis = ' ';
  return 0;
}

// The nodes of a list along its next links, up to the first that comes again, at most MAX_WALK.
static std::vector<const ObjectNode *> listNodes(const ObjectNode *head) {
  std::vector<const ObjectNode *> nodes;
  std::set<const ObjectNode *> seen;
  for (const ObjectNode *n = head; n && nodes.size() < MAX_WALK && seen.insert(n).second; n = n->next) nodes.push_back(n);
  return nodes;
}

static std::vector<const PolyNode *> chainNodes(const PolyNode *first) {
  std::vector<const PolyNode *> nodes;
  std::set<const PolyNode *> seen;
  for (const PolyNode *p = first; p && nodes.size() < MAX_WALK && seen.insert(p).second; p = p->next)
    nodes.push_back(p);
  return nodes;
}

static const ObjectNode *activeList() {
  return qMode.main == MAIN_CHOOSER || qMode.main == MAIN_CHOOSER_PICK ? qScene_CO : qScene;
}

static void debugText(const std::string &text) { qMsg(QMSG_DEBUG, "%s", text.c_str()); }

void qGlDumpStates() {
  GLboolean doubleBuffer = 0, rgba = 0;
  glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffer);
  glGetBooleanv(GL_RGBA_MODE, &rgba);
  auto value = [](GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return int(v);
  };
  std::string text = "\nOpenGL states:\n";
  text += formatText("GL_DOUBLEBUFFER = %d\n", int(doubleBuffer));
  text += formatText("GL_RGBA_MODE = %d\n", int(rgba));
  if (rgba) {
    text += formatText("GL_RED_BITS = %d\n", value(GL_RED_BITS));
    text += formatText("GL_GREEN_BITS = %d\n", value(GL_GREEN_BITS));
    text += formatText("GL_BLUE_BITS = %d\n", value(GL_BLUE_BITS));
  } else {
    GLboolean index = 0;
    glGetBooleanv(GL_INDEX_MODE, &index);
    text += formatText("GL_INDEX_MODE = %d\n", int(index));
    text += formatText("GL_INDEX_BITS = %d\n", value(GL_INDEX_BITS));
  }
  text += formatText("GL_ALPHA_BITS = %d\n", value(GL_ALPHA_BITS));
  text += formatText("GL_DEPTH_BITS = %d\n", value(GL_DEPTH_BITS));
  text += formatText("GL_STENCIL_BITS = %d\n", value(GL_STENCIL_BITS));
  text += formatText("GL_MAX_LIGHTS = %d\n", value(GL_MAX_LIGHTS));
  debugText(text);
}

// The loaded jugglers, never more than the table has records.
static int dumpedJugglers() { return std::clamp(jugglers, 0, int(JUGGLER_RECORDS)); }

void printInvKinTable() {
  std::string text;
  for (int j = 0; j < dumpedJugglers(); j++) {
    text += formatText("JUGGLER %d:\n", j);
    for (int k = 0; k < INVKIN_JOINTS; k++) text += formatText("%21s: 0x%lx\n", invKinJointNames[k], address(invKinTable[j].joint[k]));
  }
  debugText(text);
}

void print_objekt_geladen() {
  std::string text = "\n: print_objekt_geladen :\n\n";
  for (int i = 0; objekt_geladen && i < loadedObjectCount && i < LOO_MAX && objekt_geladen[i].node; i++) {
    const LoadedObject &e = objekt_geladen[i];
    text += formatText("obj_gel[%d]: objektnummer=%3d  objnode=0x%7lx  name=%.*s\n", i, e.objektnummer, address(e.node),
                       int(strnlen(e.name, sizeof e.name)), e.name);
  }
  debugText(text);
}

std::string sceneListText(const ObjectNode *head, const char *name) {
  std::string text = "\n: printSCENEBuffer :\n\n";
  text += formatText("\n%s = 0x%lx\n", name, address(head));
  for (const ObjectNode *n : listNodes(head)) {
    char axis;
    double angle = firstAngle(n, &axis);
    text += formatText("nd%3d %c%1c %s o_t%3d @%5.2f/%5.2f/%5.2f R%6.1f%c %x pa%7lx b%7lx c%7lx n%7lx po%lx h%5.2f GL%3d/%3d %s %s %s\n",
                       n->number, n->flags & 0x4 ? 'F' : ' ', shownLetter(n->letter), typeName(n->type), n->objectIndex,
                       n->position[0], n->position[1], n->position[2], angle, axis, n->flags, address(n->parent),
                       address(n->brother), address(n->child), address(n->next), address(n->poly), n->handle,
                       n->displayList, n->shadowList, n->flags & 0x1 ? "ROT" : "   ", n->flags & 0x2 ? "NA" : "  ",
                       n->flags & 0x200 ? "UO" : "  ");
  }
  return text;
}

void printSCENEBuffer(int which) {
  debugText(which ? sceneListText(qScene_CO, "qScene_CO") : sceneListText(qScene, "qScene"));
}

std::string polygonChainsText(const ObjectNode *active) {
  std::string text = "\n: printVRMLBuffer :\n\n";
  int k = 0;
  for (const ObjectNode *n : listNodes(active)) {
    text += formatText("\n\n++++++++++++++++++++ Object %2d: %s  +++++++++++++++++++++++", k++, nodeName(n).c_str());
    int number = 0;
    for (const PolyNode *p : chainNodes(n->poly)) {
      const PolyNode &l = *p;
      text += formatText("\nPOLYGON %d: ", number++);
      text += formatText("0x%lx, next=0x%lx, brother=0x%lx, child=0x%lx, parent=0x%lx, flags=0x%x", address(p), address(l.next),
                         address(l.brother), address(l.child), address(l.parent), l.flags);
    }
  }
  return text;
}

void printVRMLBuffer(int) { debugText(polygonChainsText(activeList())); }

// ---------------------------------------------------------------- the HTML page

// A tree as the table layout walks it: a node's brother, its child, and its cell.
template <typename Node>
struct TreeWalk {
  const Node *(*brother)(const Node *);
  const Node *(*child)(const Node *);
  std::string (*cell)(const Node *, const void *context);
  const void *context;
};

// One table row per tree level. Brothers follow each other in a row; a child is queued below its
// parent's column for the next row. In the first row four empty cells follow every node, so that
// the children's brothers find room. A row holds at most ROW_CELLS cells, and a node shown once is
// not shown again, so links that lead back end the walk.
template <typename Node>
static std::string treeTable(const Node *root, const TreeWalk<Node> &walk) {
  std::vector<const Node *> thisRow(ROW_CELLS, nullptr), nextRow(ROW_CELLS, nullptr);
  std::set<const Node *> shown;
  std::string html;
  int widest = 0;
  bool firstRow = true;
  bool queued = false;
  const Node *current = nullptr;
  int c = 0;
  auto place = [&](const Node *node) {
    shown.insert(node);
    html += walk.cell(node, walk.context);
    if (const Node *child = walk.child(node)) {
      nextRow[c] = child;
      queued = true;
    }
    if (firstRow) {
      html += "<td><td><td><td>";
      c += 4;
    }
  };
  place(root);
  current = root;
  c++;
  for (;;) {
    while (c < ROW_CELLS) {
      const Node *node = current ? walk.brother(current) : nullptr;
      if (node && shown.count(node)) node = nullptr;
      if (!node) node = shown.count(thisRow[c]) ? nullptr : thisRow[c];
      else widest = std::max(widest, c);
      current = node;
      if (node) {
        place(node);
      } else if (c >= widest) {
        break;
      } else {
        html += "<td>";
      }
      c++;
    }
    html += "\n<tr>";
    if (!queued) break;
    std::swap(thisRow, nextRow);
    std::fill(nextRow.begin(), nextRow.end(), nullptr);
    queued = false;
    firstRow = false;
    current = nullptr;
    c = 0;
  }
  return html;
}

// Running numbers of the scene list's nodes: the links and the anchors use these one numbering.
using NodeNumbers = std::map<const ObjectNode *, int>;

static int anchorOf(const NodeNumbers &numbers, const ObjectNode *n) {
  auto it = numbers.find(n);
  return it == numbers.end() ? -1 : it->second;
}

static const ObjectNode *objectBrother(const ObjectNode *n) { return n->brother; }
static const ObjectNode *objectChild(const ObjectNode *n) { return n->child; }
static std::string objectCell(const ObjectNode *n, const void *context) {
  const NodeNumbers &numbers = *static_cast<const NodeNumbers *>(context);
  std::string cell = formatText("<td><font size=-1><a href=\"#%d\">%s</a><br>0x%lx<br>p %lx<br>b %lx<br>c %lx", anchorOf(numbers, n),
                                htmlEscaped(nodeName(n)).c_str(), address(n), address(n->parent), address(n->brother),
                                address(n->child));
  cell += formatText("<br>Pos:%5.2f %5.2f %5.2f", n->position[0], n->position[1], n->position[2]);
  cell += formatText("<br>Angle:%5.2f %5.2f %5.2f", n->angles[0], n->angles[1], n->angles[2]);
  cell += formatText("<br>flags 0x%x", n->flags);
  cell += formatText("<br>GL#:%d,%d", n->displayList, n->shadowList);
  return cell + "</font></td>";
}

static const PolyNode *polyBrother(const PolyNode *p) { return p->brother; }
static const PolyNode *polyChild(const PolyNode *p) { return p->child; }
static std::string polyCell(const PolyNode *p, const void *context) {
  const std::set<const PolyNode *> &chain = *static_cast<const std::set<const PolyNode *> *>(context);
  const PolyNode &l = *p;
  unsigned long colour = 0;
  if (!chain.count(p)) colour += 0xFF0000;
  if (l.flags & 0xF0) colour += 0x00FF00;
  if (l.flags & 0x1000) colour += 0x0000FF;
  std::string attribute = colour ? formatText(" bgcolor=\"#%06lx\"", colour) : "";
  std::string cell = formatText("<td%s>0x%lx<br>p %lx<br>b %lx<br>c %lx<br>f %x", attribute.c_str(), address(p), address(l.parent),
                                address(l.brother), address(l.child), l.flags);
  return cell + formatText("<br>@%5.2f/%5.2f/%5.2f", l.translation[0], l.translation[1], l.translation[2]);
}

static std::string nodeTable(const std::vector<const ObjectNode *> &nodes) {
  std::string html = "<table border=1>";
  for (size_t i = 0; i < nodes.size(); i++) {
    const ObjectNode *n = nodes[i];
    if (i % HEADER_EVERY == 0) {
      html += "<tr><td><b>node</b><td> <td><b>XYZ pos</b><td><b>rotation";
      html += "</b><td><b>addr.</b><td><b>parent</b><td><b>brother";
      html += "</b><td><b>child</b><td><b>next</b><td><b>poly";
      html += "</b><td><b>handle</b><td><b>GL list</b><td><b>vertices</b>";
      html += "<td><b>faces</b><td><b>flags</b><td>\n";
    }
    char axis;
    double angle = firstAngle(n, &axis);
    html += formatText("<tr><td>%2d<td>%c%1c<td>%5.2f/%5.2f/%5.2f<td>%6.1f%c<td>", n->number, n->flags & 0x4 ? 'F' : ' ',
                       shownLetter(n->letter), n->position[0], n->position[1], n->position[2], angle, axis);
    html += formatText("%lx<td>%7lx<td>%7lx<td>", address(n), address(n->parent), address(n->brother));
    html += formatText("%7lx<td>%7lx<td>%lx<td>", address(n->child), address(n->next), address(n->poly));
    html += formatText("%5.2f<td>%3d/%3d<td align=right>%d<td align=right>%d<td align=right>%x<td>", n->handle, n->displayList,
                       n->shadowList, n->vertexTotal, n->faceTotal, n->flags);
    html += formatText("<a href=\"#%d\">%s</a><td>%s\n", int(i), htmlEscaped(nodeName(n)).c_str(), n->flags & 0x2 ? "NA" : " ");
  }
  return html + "</table>\n";
}

static std::string loadedObjectTable() {
  std::string html = "<hr><h3><a name=\"objekt_geladen\">objekt_geladen[]</a></h3>\n";
  html += "<table border=1><tr><th>Index<th>objektnummer<th>flag<th>*objnode<th>(name)";
  for (int i = 0; objekt_geladen && i < loadedObjectCount && i < LOO_MAX && objekt_geladen[i].name[0]; i++) {
    const LoadedObject &e = objekt_geladen[i];
    std::string name = e.node ? nodeName(e.node) : "";
    html += formatText("<tr><td>%d<td>%d<td>%d<td>%lx<td>%s\n", i, e.objektnummer, e.flags, address(e.node),
                       htmlEscaped(name).c_str());
  }
  return html + "</table>\n";
}

static std::string jointTables() {
  std::string html = "<hr><h3><a name=\"invkin\">InvKinv Table:</a></h3>\n";
  html += "<table border=1><tr><td>";
  int count = dumpedJugglers();
  for (int j = 0; j < count; j++) html += formatText("<td><b>Juggler %d</b>", j);
  for (int k = 0; k < INVKIN_JOINTS; k++) {
    std::string upper = invKinJointNames[k];
    for (char &c : upper) c = char(std::toupper((unsigned char)c));
    html += formatText("\n<tr><td>%s", upper.c_str());
    for (int j = 0; j < count; j++) html += formatText("<td>%lx", address(invKinTable[j].joint[k]));
  }
  html += "</table>\n";
  html += "<hr><h3><a name=\"invkinpos\">InvKin Positions:</a></h3>\n";
  for (int j = 0; j < count; j++) {
    const InvKinRecord &r = invKinTable[j];
    html += formatText("\n<b>Juggler %d:</b><p>", j);
    html += formatText("HEADUP: %5.2f/%5.2f/%5.2f<br>", r.head[0], r.head[1], r.head[2]);
    html += formatText("LEFTSHOULDER: %5.2f/%5.2f/%5.2f<br>", r.leftShoulder[0], r.leftShoulder[1], r.leftShoulder[2]);
    html += formatText("RIGHTSHOULDER: %5.2f/%5.2f/%5.2f<p>", r.rightShoulder[0], r.rightShoulder[1], r.rightShoulder[2]);
  }
  return html;
}

static std::string polygonTrees(const ObjectNode *active) {
  std::string html = "<h2>Polygon Trees</h2>";
  int k = 0;
  for (const ObjectNode *n : listNodes(active)) {
    html += formatText("<table><tr><td><h3><a name=\"%d\">Object %d: %s</a></h3> <td><a href=\"#objlist\">back to object list</a>"
                       "<td><a href=\"#objtree\">back to object tree</a></table><p><table border=1><tr>\n",
                       k, k, htmlEscaped(nodeName(n)).c_str());
    k++;
    if (n->poly) {
      std::vector<const PolyNode *> chain = chainNodes(n->poly);
      std::set<const PolyNode *> onChain(chain.begin(), chain.end());
      html += treeTable<PolyNode>(n->poly, {polyBrother, polyChild, polyCell, &onChain});
    }
    html += "\n</table>\n";
  }
  return html;
}

std::string modelDumpHtml(const ObjectNode *scene, const ObjectNode *active, const char *patternFile) {
  std::string html = "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<html><head><title>Quoit VRML Tree</title></head>";
  html += formatText("<body bgcolor=\"#a0a0d0\"><h1>Quoit VRML Tree</h1>created by Quoit %s on %s with the pattern <b>%s</b>.\n<hr>",
                     "V14.8", "a Linux PC", htmlEscaped(patternFile).c_str());
  html += "<table width=\"100%\"><tr><td><a href=\"#objlist\">to Object List</a>";
  html += "<td><a href=\"#objekt_geladen\">to objekt_geladen</a>";
  html += "<td><a href=\"#invkin\">to InvKin Table</a>";
  html += "<td><a href=\"#invkinpos\">to InvKin Positions</a>";
  html += "<td><a href=\"#objtree\">to Object Tree</a>";
  html += "</table><hr>\n";
  html += "<h3><a name=\"objlist\">qScene</a></h3>";
  std::vector<const ObjectNode *> nodes = listNodes(scene);
  if (nodes.empty()) return html + "No object found.\n";
  html += nodeTable(nodes);
  html += loadedObjectTable();
  html += jointTables();
  html += "<h3><a name=\"objtree\">qObject Tree:</a>";
  html += "<p>p=parent, b=brother, c=child<p></h3><table border=1><tr>\n";
  NodeNumbers numbers;
  for (size_t i = 0; i < nodes.size(); i++) numbers[nodes[i]] = int(i);
  html += treeTable<ObjectNode>(scene, {objectBrother, objectChild, objectCell, &numbers});
  html += "\n</table>\n";
  html += polygonTrees(active);
  return html + "</body></html>\n";
}

void writeHTMLdebugFile() {
  std::string html = modelDumpHtml(qScene, activeList(), currentPatternFile.c_str());
  if (!replaceOwnFileAtomically("VRMLdebug.html", html)) {
    qMsg(QMSG_DEBUG, "writeHTMLdebugFile(): can't open file.\n");
    return;
  }
  qMsg(QMSG_DEBUG, "Wrote VRMLdebug.html \n");
}
