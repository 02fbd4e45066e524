// Guide objects and the random prop: the height scale and the coordinate system follow their
// flags, and a prop of the chooser's models can be dropped somewhere on the floor.
#include <algorithm>
#include <cmath>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/vecmath.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrmlaids.h"

struct GuideObject {
  int64_t flag;
  const char *classic;
  const char *vrml;
  bool shown;
};
static GuideObject guides[] = {
    {FLAG_HEIGHT_SCALE, "o/basic/Heightscale", "v/basic/Heightscale.wrl", false},
    {FLAG_COORDINATES, "o/basic/KO_System", "v/basic/KO_System.wrl", false},
};

static bool randomObjectEnabled;

void resetGuideObjects() {
  for (GuideObject &g : guides) g.shown = false;
  randomObjectEnabled = true;
}

// A guide that cannot be shown counts as shown, so it is not tried again every frame.
void toggleHelperObjects() {
  static const double origin[3] = {0, 0, 0};
  for (GuideObject &g : guides) {
    bool wanted = (qMode.flags & g.flag) != 0;
    if (wanted == g.shown) continue;
    g.shown = wanted;
    if (qPrefs.vrml) {
      if (wanted) loadObjectByName(g.vrml, origin, 0, 0, 0, NODE_NOT_A_PROP);
      else hideSceneNodes(g.vrml);
    } else if (wanted) {
      qPlaceObject(g.classic, origin, 0, 0, 0);
    } else {
      qRemoveObject(g.classic);
    }
  }
}

void placeRandomObject() {
  if (!randomObjectEnabled || !objekt_geladen) return;
  int choosable[LOO_MAX];
  int count = 0;
  for (int i = 0; i < loadedObjectCount && i < LOO_MAX; i++)
    if (objekt_geladen[i].flags & OBJ_CHOOSABLE) choosable[count++] = i;
  if (count == 0) {
    qMsg(QMSG_INFO, "%s", localText(368));
    return;
  }
  int index = choosable[std::min(int(random01() * count), count - 1)];
  const double position[3] = {random01() * 5 - 2.5, random01() * 5 - 2.5, 0.06};
  double turn = random01() * 2 * PI;
  if (qPrefs.vrml) loadObjectByName(objekt_geladen[index].name, position, 0.512, 0.5, turn, 0);
  else qPlaceObject(objekt_geladen[index].name, position, 0.512, 0.5, turn);
}
