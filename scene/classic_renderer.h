// Classic renderer: GL state of the 3D window, projection and camera, light 0, the shadow matrix, the
// drawing of the placement lists, the passes of one frame, qGlCheckError; the renderer's frame state.
#pragma once
#include <cstdint>

// Noise generator of display mode 6: the point is (a, b); g1..g4 are squaring generators.
struct NoiseState {
  int32_t a, b, g1, g2, g3, g4;
};

extern int stencilDirty;         // the mirror or shadow pass left values in the stencil buffer
extern int interlacePhase;       // display mode 6: 0 or 1, flipped every frame
extern NoiseState noiseState;
extern float spotConeMatrix[16];  // display mode 7 cone shear, column order
extern float shadowColour[4];
extern int hiddenWindows[3];     // the 3D and remote-control windows that qGlutShowWindows hid

// Kinds of drawscenes.
enum { DRAW_OBJECTS = 1, DRAW_FLOOR = 2, DRAW_FLOOR_BELOW = 4 };

int qGlCheckError(const char *location);
// In debugging (glStageChecks set) every GL stage reports its errors with its location through
// qGlCheckError; otherwise the stages leave them to the one check at the end of each frame.
extern int glStageChecks;
int qGlCheckStage(const char *location);
int qGlClearScreen();
// The 3D window's view for a picture of width x height (height above 0) at the zoom: half the
// frustum's width at its near plane and the near plane's distance, metres; the frustum is
// 2 x FRUSTUM_HALF_HEIGHT high there, whatever the picture's shape.
struct WindowFrustum {
  double halfWidth, nearPlane;
};
const double FRUSTUM_HALF_HEIGHT = 0.15;
WindowFrustum windowFrustum(int width, int height, double zoom);
void qGlSetProjection(int width, int height);
void ModifyWorld(float extraAzimuth);
void qGlReshape(int width, int height);
void qGlSetModes();
void qGlutShowWindows(int show);
void qGlSetLight(int heightSign);
void qGlShadowMatrix();
void drawscenes(int kind);
// The mirror pass of both renderers: the floor's pixels marked in the stencil buffer, the objects
// drawn mirrored through them; leaves blending on for the translucent floor the caller draws next.
void drawMirrorPass(void (*drawFloor)(), void (*drawObjects)());
int qGlUpdateDisplay();
// The next frame counts the triangles of the model lists it calls, in every pass, and the fragments
// it draws; the counts of the last counted frame, -1 before one was counted.
void countNextFrameTriangles();
long lastCountedTriangles();
long lastCountedFragments();
// Milliseconds from the start of the process to the end of its first frame, -1 before it.
int64_t firstFrameMs();
// Side of the floor seen with the current matrices and viewport: below 0 from above.
double floorSide();

// Frame steps the VRML renderer shares: fog of the display modes at a density; lighting in modes 9
// and 7 (and 3 and 4 when fogModesLit); the noise points of mode 6 and the spot cone of mode 7;
// motion blur keeping that much of the last frames; texts turned to the camera; inline comments.
void setFog(float density);
void setLighting(bool fogModesLit);
void drawNoise();
void drawSpotCone();
void motionBlur(float keep);
void faceCamera();
void strokeFacingCamera(double scale, int character);
void drawInlineComments(char letter);

// GL switches of the 3D window; invkin is the juggler (from 1) of the arm test mode, 0 off.
struct QOpenGL {
  int invkin;
};
extern QOpenGL qOpenGL;
