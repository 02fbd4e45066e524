// Stand-in VRML renderer: draws only the overlays, compiles no lists, and counts no juggler models
// or prop shapes.
#include "scene/vrml_renderer.h"

#include "scene/classic_renderer.h"
#include "scene/textures.h"

void qGlSetLightColor(int) {}

int qGlUpdateVRMLDisplay() {
  qGlCheckDisplayFlags();
  return qGlCheckError("after update VRML Display");
}

int jugglerModelCount() { return 0; }
int propShapeCount(int) { return 0; }
int qGlDefineGLVRMLObject(ObjectNode *, int) { return 0; }
