// The model dumps on a small scene made by hand: the node list and polygon chains as golden text,
// the HTML page's tables and trees, escaped names, one numbering for links and anchors, and the
// bounds on the joint table, the loaded-object table, a list that runs in a circle and a row.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/uistate.h"
#include "pattern/store.h"
#include "scene/kinematics.h"
#include "scene/modeldumps.h"
#include "scene/objects.h"
#include "scene/vrml/modeltree.h"

namespace {

std::string hex(const void *p) {
  char text[32];
  snprintf(text, sizeof text, "%lx", (unsigned long)(uintptr_t)p);
  return text;
}

class ModelDumps : public ::testing::Test {
 public:
  std::vector<ObjectNode> nodes = std::vector<ObjectNode>(4);
  std::vector<PolyNode> polys = std::vector<PolyNode>(4);
  std::vector<std::pair<std::string, std::string>> names;  // address text and its mask

  void SetUp() override {
    for (ObjectNode &n : nodes) n = ObjectNode{};
    // ground, a figure with its joint below it, and a ball
    ObjectNode &ground = nodes[0], &figure = nodes[1], &joint = nodes[2], &ball = nodes[3];
    ground.next = &figure;
    ground.brother = &figure;
    figure.next = &joint;
    figure.child = &joint;
    figure.brother = &ball;
    joint.parent = &figure;
    joint.next = &ball;
    snprintf(ground.name, sizeof ground.name, "Karoboden");
    snprintf(figure.name, sizeof figure.name, "juggler<&>");
    snprintf(joint.name, sizeof joint.name, "HeadUp");
    snprintf(ball.name, sizeof ball.name, "ball \"red\"");
    figure.number = 1, joint.number = 2, ball.number = 3;
    figure.flags = 0x201;
    joint.angles[1] = -12.5;
    joint.flags = 0x2;
    ball.letter = 'a';
    ball.type = 1;
    ball.flags = 0x4;
    ball.objectIndex = 7;
    ball.position[0] = 1.25, ball.position[2] = 0.5;
    ball.angles[2] = 90;
    ball.handle = 0.1;
    ball.displayList = 12, ball.shadowList = 13;
    ball.vertexTotal = 42, ball.faceTotal = 80;
    // the ball's polygons: a chain 0 -> 1 -> 2, a tree 0 (child 1, 1 brother 2), and 3 only as 2's child
    ball.poly = &polys[0];
    polys[0].next = &polys[1];
    polys[1].next = &polys[2];
    polys[0].child = &polys[1];
    polys[1].parent = &polys[0];
    polys[1].brother = &polys[2];
    polys[2].parent = &polys[0];
    polys[2].child = &polys[3];
    polys[3].parent = &polys[2];
    polys[1].flags = 0x10;
    polys[2].flags = 0x1000;
    polys[2].translation[2] = 0.25;
    for (size_t i = 0; i < nodes.size(); i++) names.push_back({hex(&nodes[i]), "N" + std::to_string(i)});
    for (size_t i = 0; i < polys.size(); i++) names.push_back({hex(&polys[i]), "P" + std::to_string(i)});
    std::sort(names.begin(), names.end(), [](auto &a, auto &b) { return a.first.size() > b.first.size(); });
  }

  // Every address of the scene as its node's mask (N0..N3, P0..P3).
  std::string masked(std::string text) const {
    for (const auto &[address, mask] : names) {
      for (size_t at = text.find(address); at != std::string::npos; at = text.find(address, at + mask.size()))
        text.replace(at, address.size(), mask);
    }
    return text;
  }
};

TEST_F(ModelDumps, NodeListGoldenText) {
  std::string expected =
      "\n: printSCENEBuffer :\n\n"
      "\nqScene = 0xN0\n"
      // the addresses are wider than their fields, so they stand without padding
      "nd  0         o_t  0 @ 0.00/ 0.00/ 0.00 R   0.0  0 pa      0 bN1 c      0 nN1 po0 h 0.00 GL  0/  0          \n"
      "nd  1         o_t  0 @ 0.00/ 0.00/ 0.00 R   0.0  201 pa      0 bN3 cN2 nN2 po0 h 0.00 GL  0/  0 ROT    UO\n"
      "nd  2         o_t  0 @ 0.00/ 0.00/ 0.00 R -12.5Y 2 paN1 b      0 c      0 nN3 po0 h 0.00 GL  0/  0     NA   \n"
      "nd  3 Fa BALL o_t  7 @ 1.25/ 0.00/ 0.50 R  90.0Z 4 pa      0 b      0 c      0 n      0 poP0 h 0.10 GL 12/ 13          \n";
  EXPECT_EQ(masked(sceneListText(&nodes[0], "qScene")), expected);
  EXPECT_EQ(sceneListText(nullptr, "qScene_CO"), "\n: printSCENEBuffer :\n\n\nqScene_CO = 0x0\n");
}

TEST_F(ModelDumps, PolygonChainsGoldenText) {
  std::string expected =
      "\n: printVRMLBuffer :\n\n"
      "\n\n++++++++++++++++++++ Object  0: Karoboden  +++++++++++++++++++++++"
      "\n\n++++++++++++++++++++ Object  1: juggler<&>  +++++++++++++++++++++++"
      "\n\n++++++++++++++++++++ Object  2: HeadUp  +++++++++++++++++++++++"
      "\n\n++++++++++++++++++++ Object  3: ball \"red\"  +++++++++++++++++++++++"
      "\nPOLYGON 0: 0xP0, next=0xP1, brother=0x0, child=0xP1, parent=0x0, flags=0x0"
      "\nPOLYGON 1: 0xP1, next=0xP2, brother=0xP2, child=0x0, parent=0xP0, flags=0x10"
      "\nPOLYGON 2: 0xP2, next=0x0, brother=0x0, child=0xP3, parent=0xP0, flags=0x1000";
  EXPECT_EQ(masked(polygonChainsText(&nodes[0])), expected);
  EXPECT_EQ(polygonChainsText(nullptr), "\n: printVRMLBuffer :\n\n");
}

TEST_F(ModelDumps, AListThatRunsInACircleEnds) {
  nodes[3].next = &nodes[0];
  polys[2].next = &polys[0];
  nodes[2].child = &nodes[1];  // a child link back to the parent
  polys[3].brother = &polys[1];
  EXPECT_GT(sceneListText(&nodes[0], "qScene").size(), 0u);
  EXPECT_GT(polygonChainsText(&nodes[0]).size(), 0u);
  EXPECT_GT(modelDumpHtml(&nodes[0], &nodes[0], "m/x").size(), 0u);
}

TEST_F(ModelDumps, EmptySceneHasTheHeadAndNavigationOnly) {
  std::string html = modelDumpHtml(nullptr, nullptr, "m/3ball_cascade");
  std::string expected =
      "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<html><head><title>Quoit VRML Tree</title></head>"
      "<body bgcolor=\"#a0a0d0\"><h1>Quoit VRML Tree</h1>created by Quoit V14.8 on a Linux PC with the pattern "
      "<b>m/3ball_cascade</b>.\n<hr>"
      "<table width=\"100%\"><tr><td><a href=\"#objlist\">to Object List</a>"
      "<td><a href=\"#objekt_geladen\">to objekt_geladen</a><td><a href=\"#invkin\">to InvKin Table</a>"
      "<td><a href=\"#invkinpos\">to InvKin Positions</a><td><a href=\"#objtree\">to Object Tree</a></table><hr>\n"
      "<h3><a name=\"objlist\">qScene</a></h3>No object found.\n";
  EXPECT_EQ(html, expected);
}

TEST_F(ModelDumps, HtmlTreesGolden) {
  int savedJugglers = jugglers;
  jugglers = 0;
  std::string html = masked(modelDumpHtml(&nodes[0], &nodes[0], "m/<pattern>"));
  jugglers = savedJugglers;
  EXPECT_NE(html.find("with the pattern <b>m/&lt;pattern&gt;</b>"), std::string::npos);
  EXPECT_EQ(html.find("juggler<&>"), std::string::npos);  // names from files are escaped
  EXPECT_NE(html.find("<a href=\"#1\">juggler&lt;&amp;&gt;</a><td> \n"), std::string::npos) << html;
  EXPECT_NE(html.find("<tr><td> 3<td>Fa<td> 1.25/ 0.00/ 0.50<td>  90.0Z<td>N3<td>      0<td>      0<td>      0<td>      0<td>P0<td>"
                      " 0.10<td> 12/ 13<td align=right>42<td align=right>80<td align=right>4<td><a href=\"#3\">ball &quot;red&quot;</a><td> \n"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("<a href=\"#2\">HeadUp</a><td>NA\n"), std::string::npos);

  auto cell = [](const char *name, int anchor, const char *node, const char *parent, const char *brother, const char *child,
                 const char *rest) {
    return std::string("<td><font size=-1><a href=\"#") + std::to_string(anchor) + "\">" + name + "</a><br>0x" + node +
           "<br>p " + parent + "<br>b " + brother + "<br>c " + child + rest + "</font></td>";
  };
  const char *still = "<br>Pos: 0.00  0.00  0.00<br>Angle: 0.00  0.00  0.00";
  // Row 0: the ground and its brothers, four empty cells after each; row 1: the joint below the figure.
  std::string tree = "<h3><a name=\"objtree\">qObject Tree:</a><p>p=parent, b=brother, c=child<p></h3><table border=1><tr>\n" +
                     cell("Karoboden", 0, "N0", "0", "N1", "0", (std::string(still) + "<br>flags 0x0<br>GL#:0,0").c_str()) +
                     "<td><td><td><td>" +
                     cell("juggler&lt;&amp;&gt;", 1, "N1", "0", "N3", "N2", (std::string(still) + "<br>flags 0x201<br>GL#:0,0").c_str()) +
                     "<td><td><td><td>" +
                     cell("ball &quot;red&quot;", 3, "N3", "0", "0", "0",
                          "<br>Pos: 1.25  0.00  0.50<br>Angle: 0.00  0.00 90.00<br>flags 0x4<br>GL#:12,13") +
                     "<td><td><td><td>\n<tr><td><td><td><td><td>" +
                     cell("HeadUp", 2, "N2", "N1", "0", "0", "<br>Pos: 0.00  0.00  0.00<br>Angle: 0.00 -12.50  0.00<br>flags 0x2<br>GL#:0,0") +
                     "<td><td><td><td>\n<tr>\n</table>\n";  // a row reaches as far as the widest row before it
  EXPECT_NE(html.find(tree), std::string::npos) << html;

  // The ball's polygons: 1 has geometry (green), 2 a translation (blue), 3 is only a child (red).
  std::string polygons =
      "<table><tr><td><h3><a name=\"3\">Object 3: ball &quot;red&quot;</a></h3> <td><a href=\"#objlist\">back to object list</a>"
      "<td><a href=\"#objtree\">back to object tree</a></table><p><table border=1><tr>\n"
      "<td>0xP0<br>p 0<br>b 0<br>c P1<br>f 0<br>@ 0.00/ 0.00/ 0.00<td><td><td><td>\n<tr>"
      "<td bgcolor=\"#00ff00\">0xP1<br>p P0<br>b P2<br>c 0<br>f 10<br>@ 0.00/ 0.00/ 0.00"
      "<td bgcolor=\"#0000ff\">0xP2<br>p P0<br>b 0<br>c P3<br>f 1000<br>@ 0.00/ 0.00/ 0.25\n<tr>"
      "<td><td bgcolor=\"#ff0000\">0xP3<br>p P2<br>b 0<br>c 0<br>f 0<br>@ 0.00/ 0.00/ 0.00\n<tr>\n</table>\n";
  EXPECT_NE(html.find(polygons), std::string::npos) << html;
  EXPECT_NE(html.find("<table><tr><td><h3><a name=\"0\">Object 0: Karoboden</a></h3>"), std::string::npos);
  EXPECT_EQ(html.substr(html.size() - 15), "</body></html>\n");
}

TEST_F(ModelDumps, HeaderRowRepeatsBeforeThe23rdNode) {
  std::vector<ObjectNode> many(45);
  for (size_t i = 0; i + 1 < many.size(); i++) many[i].next = &many[i + 1];
  std::string html = modelDumpHtml(&many[0], nullptr, "m/x");
  std::string header = "<tr><td><b>node</b>";
  size_t first = html.find(header), second = html.find(header, first + 1), third = html.find(header, second + 1);
  ASSERT_NE(second, std::string::npos);
  ASSERT_NE(third, std::string::npos);
  EXPECT_EQ(html.find(header, third + 1), std::string::npos);
  auto rowsBetween = [&](size_t from, size_t to) {
    int n = 0;
    for (size_t at = html.find("<tr><td>", from + 1); at < to; at = html.find("<tr><td>", at + 1)) n++;
    return n;
  };
  EXPECT_EQ(rowsBetween(first, second), 22);
  EXPECT_EQ(rowsBetween(second, third), 22);
}

TEST_F(ModelDumps, ARowHoldsAtMost2500Cells) {
  std::vector<ObjectNode> brothers(3000);
  for (size_t i = 0; i + 1 < brothers.size(); i++) brothers[i].brother = brothers[i].next = &brothers[i + 1];
  std::string html = modelDumpHtml(&brothers[0], nullptr, "m/x");
  size_t tree = html.find("qObject Tree:");
  ASSERT_NE(tree, std::string::npos);
  int cells = 0;
  for (size_t at = html.find("<td><font", tree); at != std::string::npos; at = html.find("<td><font", at + 1)) cells++;
  EXPECT_EQ(cells, 500);  // every node takes five cells of the first row
}

TEST(ModelDumpTables, JointTableAndLoadedObjectsStayWithinTheirTables) {
  int savedJugglers = jugglers;
  jugglers = 25;  // more than the joint table has records
  testing::internal::CaptureStdout();
  printInvKinTable();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("JUGGLER 19:\n"), std::string::npos);
  EXPECT_EQ(out.find("JUGGLER 20:"), std::string::npos);
  EXPECT_NE(out.find("               HeadUp: 0x0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("          HipPosition: 0x0\n"), std::string::npos);
  jugglers = savedJugglers;

  LoadedObject *savedTable = objekt_geladen;
  int savedCount = loadedObjectCount;
  std::vector<LoadedObject> table(LOO_MAX + 1);
  ObjectNode node{};
  for (LoadedObject &e : table) {
    e.node = &node;
    snprintf(e.name, sizeof e.name, "o/ball");
  }
  objekt_geladen = table.data();
  loadedObjectCount = 2;
  testing::internal::CaptureStdout();
  print_objekt_geladen();
  out = testing::internal::GetCapturedStdout();
  objekt_geladen = savedTable;
  loadedObjectCount = savedCount;
  EXPECT_NE(out.find("\n: print_objekt_geladen :\n\nobj_gel[0]: objektnummer=  0  objnode=0x"), std::string::npos) << out;
  EXPECT_NE(out.find("obj_gel[1]:"), std::string::npos);
  EXPECT_EQ(out.find("obj_gel[2]:"), std::string::npos);  // only the loaded entries
}

TEST(ModelDumpFile, WrittenIntoTheWorkingDirectory) {
  std::filesystem::path previous = std::filesystem::current_path();
  char pattern[] = "/tmp/quoit-dumps-XXXXXX";
  std::filesystem::path dir = mkdtemp(pattern);
  std::filesystem::current_path(dir);
  testing::internal::CaptureStdout();
  writeHTMLdebugFile();
  std::string out = testing::internal::GetCapturedStdout();
  std::ifstream in(dir / "VRMLdebug.html");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(out.find("Wrote VRMLdebug.html \n"), std::string::npos) << out;
  EXPECT_NE(text.str().find("<h1>Quoit VRML Tree</h1>"), std::string::npos);

  std::filesystem::create_directory(dir / "VRMLdebug.html.d");
  std::filesystem::current_path(dir / "VRMLdebug.html.d");
  std::filesystem::permissions(dir / "VRMLdebug.html.d", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  testing::internal::CaptureStdout();
  writeHTMLdebugFile();
  out = testing::internal::GetCapturedStdout();
  if (geteuid() != 0) {
    EXPECT_NE(out.find("writeHTMLdebugFile(): can't open file.\n"), std::string::npos) << out;
  }
  std::filesystem::current_path(previous);
  std::filesystem::permissions(dir / "VRMLdebug.html.d", std::filesystem::perms::owner_all);
  std::filesystem::remove_all(dir);
}

}  // namespace
