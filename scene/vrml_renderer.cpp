// Stand-in VRML renderer: draws only the overlays and compiles no lists.
#include "scene/vrml_renderer.h"

#include "scene/classic_renderer.h"
#include "scene/textures.h"

void qGlSetLightColor(int) {}

int qGlUpdateVRMLDisplay() {
  qGlCheckDisplayFlags();
  return qGlCheckError("after update VRML Display");
}

int qGlDefineGLVRMLObject(ObjectNode *, int) { return 0; }
