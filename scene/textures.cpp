// Textures, background, overlay state and shirts: image files become GL textures in textureTable, the
// 16 background tiles are drawn as a panorama behind the scene, the 2-D overlay state frames the texts
// drawn over the 3D picture, and qTShirt holds the juggler shirts of "list_of_shirts".
#include "scene/textures.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <png.h>

#include <cctype>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <string>

#include "core/Tcl.h"
#include "core/viewrecords.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "scene/classic_renderer.h"
#include "core/uistate.h"

TextureRecord textureTable[TEXTURE_MAX];
int textureCount = 0;
int nextTextureName = 1;
int noTextureIndex = TEXTURE_NONE;

TShirt qTShirt[TSHIRT_COUNT];
int tshirt_count = 0;
int currentShirt = 0;

enum { DISPLAY_TEXTURES = 8, PPM_MIN_SIZE = 64, PPM_MAX_SIZE = 256, PNG_MAX_SIZE = 4096 };

// textureTable index of each background tile; every entry is the same record in quick mode.
static int backgroundTile[BACKGROUND_TILES];
static int backgroundLoaded = 0;

static bool texturesOn() { return (qPrefs.displayFlags & DISPLAY_TEXTURES) != 0; }

static void reportNotOpenable(const char *path) {
  if (texturesOn()) qMsg(QMSG_ERROR, localText(40), path);
}

// ---------------------------------------------------------------------------------------------------------
// PPM ("P6", maximum value 255)

static bool isPpmSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads one header number: white space and '#' comments before it are skipped. Returns the character
// that follows the number, or -2 when there is no number. Values are capped so that a huge number
// cannot overflow; the size check refuses them.
static int readHeaderNumber(FILE *file, long *value) {
  int c = fgetc(file);
  while (c == '#' || isPpmSpace(c)) {
    if (c == '#')
      while (c != '\n' && c != EOF) c = fgetc(file);
    c = fgetc(file);
  }
  if (c < '0' || c > '9') return -2;
  long v = 0;
  while (c >= '0' && c <= '9') {
    if (v < 1000000) v = v * 10 + (c - '0');
    c = fgetc(file);
  }
  *value = v;
  return c;
}

static bool isPowerOfTwoSize(long n) { return n >= PPM_MIN_SIZE && n <= PPM_MAX_SIZE && (n & (n - 1)) == 0; }

// Reads the header up to the first raster byte; false after reporting a broken header.
static bool readPpmHeader(FILE *file, const char *path, long *width, long *height) {
  char magic[2];
  long maxval = 0;
  int after = -2;
  if (fread(magic, 1, 2, file) == 2 && magic[0] == 'P' && magic[1] == '6') {
    int c = fgetc(file);
    if (isPpmSpace(c) || c == '#') {
      ungetc(c, file);
      after = readHeaderNumber(file, width);
      if (after == '#') ungetc(after, file);
      if (after != -2) after = readHeaderNumber(file, height);
      if (after == '#') ungetc(after, file);
      if (after != -2) after = readHeaderNumber(file, &maxval);
    }
  }
  // The raster starts after exactly one white-space character behind the maximum value.
  if (after == -2 || !isPpmSpace(after)) {
    qMsg(QMSG_ERROR, localText(1100), path);
    return false;
  }
  if (!isPowerOfTwoSize(*width) || !isPowerOfTwoSize(*height)) {
    qMsg(QMSG_ERROR, localText(1101), path);
    return false;
  }
  if (maxval != 255) {
    qMsg(QMSG_ERROR, "PPM file %s has the maximum value %ld; only 255 is supported\n", path, maxval);
    return false;
  }
  return true;
}

int readPPM(const char *path, TextureRecord *record, int kind) {
  FILE *file = openRegularFile(path);
  if (!file) {
    reportNotOpenable(path);
    return TEXTURE_FAILED;
  }
  long width = 0, height = 0;
  if (!readPpmHeader(file, path, &width, &height)) {
    fclose(file);
    return TEXTURE_FAILED;
  }
  size_t rowBytes = size_t(width) * 3;
  unsigned char *pixels = (unsigned char *)qAlloc(rowBytes * size_t(height));
  if (!pixels) {
    qMsg(QMSG_DEBUG, localText(90), "Texture");
    fclose(file);
    return TEXTURE_FAILED;
  }
  long rows = 0;
  while (rows < height && fread(pixels + size_t(rows) * rowBytes, 1, rowBytes, file) == rowBytes) rows++;
  fclose(file);
  if (rows < height) {
    qMsg(QMSG_DEBUG, "File %s is truncated: read %ld of %ld\n", path, rows, height);
    qFree(pixels, rowBytes * size_t(height));
    return TEXTURE_FAILED;
  }
  snprintf(record->path, sizeof record->path, "%s", path);
  record->width = int(width);
  record->height = int(height);
  record->channels = 3;
  record->kind = kind;
  record->pixels = pixels;
  return 0;
}

// ---------------------------------------------------------------------------------------------------------
// PNG through libpng. The decoding state lives in one record whose address libpng's error jump keeps
// valid; no C++ object with a destructor lives in the functions the jump crosses.

enum { PNG_STAGE_HEADER = 0, PNG_STAGE_IMAGE = 1 };

struct PngRead {
  FILE *file;
  png_structp png;
  png_infop info;
  unsigned char *pixels;
  size_t pixelBytes;
  png_bytep *rows;
  size_t rowsBytes;
  int stage;
  png_uint_32 width, height;
  int channels;
};

static void pngError(png_structp png, png_const_charp message) {
  qMsg(QMSG_DEBUG, "libpng: %s\n", message);
  longjmp(png_jmpbuf(png), 1);
}

static void pngWarning(png_structp, png_const_charp message) { qMsg(QMSG_DEBUG, "libpng warning: %s\n", message); }

static void releasePng(PngRead *r) {
  if (r->png) png_destroy_read_struct(&r->png, r->info ? &r->info : nullptr, nullptr);
  if (r->rows) qFree(r->rows, r->rowsBytes);
  if (r->pixels) qFree(r->pixels, r->pixelBytes);
  r->png = nullptr;
  r->info = nullptr;
  r->rows = nullptr;
  r->pixels = nullptr;
}

// Header and transformations: the image comes out as 8-bit RGB or RGBA.
static void setUpPngTransforms(PngRead *r) {
  png_set_sig_bytes(r->png, 8);
  png_read_info(r->png, r->info);
  int bitDepth = 0, colourType = 0;
  png_get_IHDR(r->png, r->info, &r->width, &r->height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  if (colourType == PNG_COLOR_TYPE_PALETTE || (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) ||
      png_get_valid(r->png, r->info, PNG_INFO_tRNS))
    png_set_expand(r->png);
  if (bitDepth == 16) png_set_strip_16(r->png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(r->png);
  // Gamma only with a file gamma that makes sense, against a usual display exponent.
  double fileGamma = 0;
  if (png_get_gAMA(r->png, r->info, &fileGamma) && std::isfinite(fileGamma) && fileGamma > 0.01 && fileGamma < 10)
    png_set_gamma(r->png, 2.2, fileGamma);
  png_set_interlace_handling(r->png);
  png_read_update_info(r->png, r->info);
}

// 0 success; otherwise the failure code that readPNG reports.
static int decodePng(PngRead *r) {
  unsigned char signature[8];
  if (fread(signature, 1, 8, r->file) != 8 || png_sig_cmp(signature, 0, 8) != 0) return 1;
  r->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
  if (!r->png) return 4;
  r->info = png_create_info_struct(r->png);
  if (!r->info) return 4;
  if (setjmp(png_jmpbuf(r->png))) return r->stage == PNG_STAGE_HEADER ? 2 : 3;
  png_set_user_limits(r->png, PNG_MAX_SIZE, PNG_MAX_SIZE);
  png_init_io(r->png, r->file);
  setUpPngTransforms(r);
  size_t rowBytes = png_get_rowbytes(r->png, r->info);
  r->channels = png_get_channels(r->png, r->info);
  if ((r->channels != 3 && r->channels != 4) || rowBytes != size_t(r->width) * size_t(r->channels)) return 5;
  r->stage = PNG_STAGE_IMAGE;
  r->pixelBytes = rowBytes * r->height;
  r->rowsBytes = sizeof(png_bytep) * r->height;
  r->pixels = (unsigned char *)qAlloc(r->pixelBytes);
  r->rows = (png_bytep *)qAlloc(r->rowsBytes);
  if (!r->pixels || !r->rows) return 4;
  // Bottom row first: texture row t = 0 is the last row of the file.
  for (png_uint_32 i = 0; i < r->height; i++) r->rows[i] = r->pixels + (r->height - 1 - i) * rowBytes;
  png_read_image(r->png, r->rows);
  return 0;
}

int readPNG(const char *path, TextureRecord *record, int kind) {
  PngRead r = {};
  r.file = openRegularFile(path);
  if (!r.file) {
    reportNotOpenable(path);
    return TEXTURE_FAILED;
  }
  int code = decodePng(&r);
  fclose(r.file);
  switch (code) {
    case 0: break;
    case 1: qMsg(QMSG_ERROR, "Read PNG:  [%s] is not a PNG file: incorrect signature\n", path); break;
    case 2: qMsg(QMSG_ERROR, "Read PNG:  [%s] has bad IHDR (libpng longjmp)\n", path); break;
    case 3: qMsg(QMSG_ERROR, "Read PNG:  unable to decode PNG image\n"); break;
    case 4: qMsg(QMSG_ERROR, "Read PNG:  insufficient memory\n"); break;
    default: qMsg(QMSG_ERROR, localText(45), r.channels, "qGlReadTexture"); break;
  }
  if (code != 0) {
    releasePng(&r);
    return TEXTURE_FAILED;
  }
  snprintf(record->path, sizeof record->path, "%s", path);
  record->width = int(r.width);
  record->height = int(r.height);
  record->channels = r.channels;
  record->kind = kind;
  record->pixels = r.pixels;
  r.pixels = nullptr;
  releasePng(&r);
  return 0;
}

// ---------------------------------------------------------------------------------------------------------
// The texture table

// FORMAT_PPM or FORMAT_PNG by the extension of the file name (any case), or -1.
int textureFormatOf(const char *path) {
  const char *node = strrchr(path, '/');
  const char *dot = strrchr(node ? node : path, '.');
  if (!dot) return -1;
  std::string extension = dot + 1;
  for (char &c : extension) c = char(tolower((unsigned char)c));
  if (extension == "ppm") return FORMAT_PPM;
  if (extension == "png") return FORMAT_PNG;
  return -1;
}

static int findTexture(const char *path) {
  for (int i = 0; i < textureCount; i++)
    if (strcmp(textureTable[i].path, path) == 0) return i;
  return -1;
}

// Makes the GL texture of a decoded record; false when GLU refuses the image.
static bool uploadTexture(TextureRecord *t) {
  t->glName = nextTextureName++;
  glBindTexture(GL_TEXTURE_2D, GLuint(t->glName));
  // Tiles and shirts clamp to their edge texels: a border colour would show as dark seams.
  GLint wrap = t->kind == TEXTURE_MODEL ? GL_REPEAT : GL_CLAMP_TO_EDGE;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  GLenum format = t->channels == 4 ? GL_RGBA : GL_RGB;
  // The alpha test itself is switched on only while an RGBA texture is in use (qGlUseTexture).
  if (t->channels == 4) glAlphaFunc(GL_GREATER, 95.0f / 255.0f);
  GLint result = gluBuild2DMipmaps(GL_TEXTURE_2D, t->channels, t->width, t->height, format, GL_UNSIGNED_BYTE, t->pixels);
  if (result != 0) {
    qMsg(QMSG_ERROR, "gluBuild2DMipmaps() failed for %s: %s\n", t->path, (const char *)gluErrorString(GLenum(result)));
    qGlCheckError("gluBuild2DMipmaps()");
    return false;
  }
  return true;
}

int qGlReadTexture(const char *path, int kind, int format) {
  if (!path || !path[0]) return TEXTURE_NONE;
  int found = findTexture(path);
  if (found >= 0) return found;
  if (strlen(path) >= TEXTURE_PATH_SIZE) {
    qMsg(QMSG_ERROR, "Texture path longer than %d characters: %s\n", TEXTURE_PATH_SIZE - 1, path);
    return TEXTURE_FAILED;
  }
  if (format != FORMAT_PPM && format != FORMAT_PNG && format != FORMAT_BY_EXTENSION) {
    qMsg(QMSG_ERROR, localText(45), format, "qGlReadTexture");
    return TEXTURE_FAILED;
  }
  std::string file = backslashToSlash(std::string(path));
  if (format == FORMAT_BY_EXTENSION) format = textureFormatOf(file.c_str());
  if (format < 0) {
    qMsg(QMSG_ERROR, localText(1104), path);
    return TEXTURE_FAILED;
  }
  if (textureCount >= TEXTURE_MAX) {
    qMsg(QMSG_ERROR, localText(49), "textureTable", "TEXTURE_MAX");
    return TEXTURE_FAILED;
  }
  TextureRecord record = {};
  int read = format == FORMAT_PPM ? readPPM(file.c_str(), &record, kind) : readPNG(file.c_str(), &record, kind);
  if (read == 0) snprintf(record.path, sizeof record.path, "%s", path);
  if (read != 0 || !uploadTexture(&record)) {
    if (record.pixels) qFree(record.pixels, size_t(record.width) * record.height * record.channels);
    qMsg(QMSG_ERROR, localText(1105), path);
    return TEXTURE_FAILED;
  }
  textureTable[textureCount] = record;
  return textureCount++;
}

// Binds a texture for the primitives that follow, or switches texturing off for TEXTURE_NONE. The alpha
// test is on only for an RGBA texture, so untextured translucent drawings keep their pixels.
void qGlUseTexture(int index) {
  if (index < 0 || index >= textureCount) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    return;
  }
  glBindTexture(GL_TEXTURE_2D, GLuint(textureTable[index].glName));
  glEnable(GL_TEXTURE_2D);
  if (textureTable[index].channels == 4) glEnable(GL_ALPHA_TEST);
  else glDisable(GL_ALPHA_TEST);
}

void freeTextureImages() {
  for (int i = 0; i < textureCount; i++) {
    TextureRecord &t = textureTable[i];
    if (t.pixels) qFree(t.pixels, size_t(t.width) * t.height * t.channels);
    t.pixels = nullptr;
  }
  textureCount = 0;
  backgroundLoaded = 0;
  noTextureIndex = TEXTURE_NONE;
}

// Takes the records from first on out of the table again (their GL names are not reused).
static void dropTexturesFrom(int first) {
  for (int i = first; i < textureCount; i++) {
    TextureRecord &t = textureTable[i];
    if (t.pixels) qFree(t.pixels, size_t(t.width) * t.height * t.channels);
    t = TextureRecord{};
  }
  textureCount = first;
}

// ---------------------------------------------------------------------------------------------------------
// Background panorama: 8 tiles around the horizon (0-7) and 8 above them (8-15).

int loadBackground() {
  if (qPrefs.backgroundFlag) return 0;
  int first = textureCount;
  char name[512];
  int count = qPrefs.iflag == 10 ? 1 : BACKGROUND_TILES;
  for (int n = 0; n < count; n++) {
    if (count == 1) snprintf(name, sizeof name, "%squick.ppm", qPrefs.bgdir.c_str());
    else snprintf(name, sizeof name, "%s%d.ppm", qPrefs.bgdir.c_str(), n);
    int t = qGlReadTexture(name, TEXTURE_BACKGROUND, FORMAT_BY_EXTENSION);
    if (t < 0) {
      // A panorama with missing tiles would show other textures: the background goes off instead.
      qMsg(QMSG_DEBUG, "Background tile %s did not load: the background is switched off\n", name);
      dropTexturesFrom(first);
      qPrefs.backgroundFlag = 1;
      backgroundLoaded = 0;
      return 1;
    }
    backgroundTile[n] = t;
  }
  for (int n = count; n < BACKGROUND_TILES; n++) backgroundTile[n] = backgroundTile[0];
  backgroundLoaded = 1;
  return 0;
}

int initTextures() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  int result = 0;
  if (loadBackground()) result = INIT_TEXTURES_BACKGROUND_FAILED;
  noTextureIndex = qGlReadTexture("tex/no_texture.png", TEXTURE_MODEL, FORMAT_PNG);
  if (noTextureIndex < 0) {
    noTextureIndex = TEXTURE_NONE;
    result = INIT_TEXTURES_FALLBACK_FAILED;
  }
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  return result;
}

static double wrapUnit(double x) {
  x = fmod(x, 1.0);
  return x < 0 ? x + 1.0 : x;
}

static void drawTile(int tile, int q, int p, double u, double v) {
  glBindTexture(GL_TEXTURE_2D, GLuint(textureTable[backgroundTile[tile]].glName));
  glBegin(GL_QUADS);
  glTexCoord2d(1, 0);
  glVertex3d(q + 1 - u, p + 1 - v, 0);
  glTexCoord2d(0, 0);
  glVertex3d(q - u, p + 1 - v, 0);
  glTexCoord2d(0, 1);
  glVertex3d(q - u, p - v, 0);
  glTexCoord2d(1, 1);
  glVertex3d(q + 1 - u, p - v, 0);
  glEnd();
}

void qGlDrawBackground() {
  if (qPrefs.backgroundFlag || !backgroundLoaded || !texturesOn()) return;
  if (qMode.display == 11 || qMode.display == 2 || qMode.main == 0x20 || qMode.main == 0x80) return;
  glDisable(GL_DEPTH_TEST);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  glPushMatrix();
  const double *d = cameraState.viewDir;
  double length = sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (length > 0) glTranslated(35 * d[0] / length, 35 * d[1] / length, 35 * d[2] / length);
  glTranslated(viewState.x * 0.001, viewState.y * 0.001, viewState.z * 0.001);
  double azimuth = viewState.azimuth / 2048.0 * 360, elevation = viewState.elevation / 2048.0 * 360;
  glRotated(azimuth + 180, 0, 0, 1);
  glRotated(-elevation, 0, 1, 0);
  glRotated(-90, 0, 0, 1);
  glScaled(22, 22, 1);

  double a = 360 - azimuth, e = elevation;
  bool upper = e > 90 && e < 300;
  int base = int(8 * wrapUnit(a / 360));
  if (base > 7) base = 7;
  if (upper) base += 8;
  double u = wrapUnit(a / 45);
  double v = upper ? (e - 90) / 45 : e >= 300 ? (e - 405) / 45 : (e - 45) / 45;
  int firstRow = base > 7 ? -1 : 0, lastRow = firstRow + 1;

  // The sky above the tiles has no texture.
  glDisable(GL_TEXTURE_2D);
  glColor3d(0.2, 0.2, 0.82);
  glBegin(GL_QUADS);
  glVertex3d(3.5, 3.5, 0);
  glVertex3d(-3.5, 3.5, 0);
  glVertex3d(-3.5, lastRow - v, 0);
  glVertex3d(3.5, lastRow - v, 0);
  glEnd();
  glEnable(GL_TEXTURE_2D);
  for (int p = firstRow; p <= lastRow; p++)
    for (int q = -2; q <= 2; q++) {
      int tile = ((base + q + 8 * p + 16) % 8 + 8) % 8;
      if (base + 8 * p > 7) tile += 8;
      drawTile(tile, q, p, u, v);
    }
  glPopMatrix();
  glDisable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_DEPTH_TEST);
  qGlCheckStage("qGlDrawBackground");
}

// ---------------------------------------------------------------------------------------------------------
// Overlay state and the end-of-frame overlays

static GLboolean lightingWasOn, blendingWasOn;

void qGlutInitFullscreenText(int how) {
  if (how == FST_START) {
    windowCalls.setWindow(qWindowIds[WIN_3D]);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    lightingWasOn = glIsEnabled(GL_LIGHTING);
    blendingWasOn = glIsEnabled(GL_BLEND);
    if (lightingWasOn) glDisable(GL_LIGHTING);
    if (!blendingWasOn) glEnable(GL_BLEND);
    glColor4f(0.8f, 0.8f, 0.3f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, qPrefs.width, 0, qPrefs.height, -3, 3);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    qGlCheckStage("qGlutInitFullscreenText(FST_START)");
  } else if (how == FST_STOP) {
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    if (lightingWasOn) glEnable(GL_LIGHTING);
    if (!blendingWasOn) glDisable(GL_BLEND);
    glDepthFunc(GL_LESS);
    qGlCheckStage("qGlutInitFullscreenText(FST_STOP)");
  }
}

void drawTextBackdrop(int x, int y, int width, int height) {
  glColor4f(0.23f, 0.23f, 0.35f, 0.8f);
  glBegin(GL_QUADS);
  glVertex2i(x, y);
  glVertex2i(x + width, y);
  glVertex2i(x + width, y + height);
  glVertex2i(x, y + height);
  glEnd();
  glColor4f(0.8f, 0.8f, 0.3f, 1.0f);
}

// With the remote control shown, the status lines and the frame rate are in its window; the text
// screens still go over the 3D window.
void qGlCheckDisplayFlags() {
  if (remoteState == REMOTE_SHOWN) overlayRequests &= OVERLAY_TEXT;
  if (overlayRequests == 0) return;
  qGlutInitFullscreenText(FST_START);
  if (overlayRequests & OVERLAY_TEXT) windowCalls.multiLineText(nullptr, 0, 0, 2);
  if (overlayRequests & OVERLAY_FPS) windowCalls.fpsOverlay();
  if (overlayRequests & OVERLAY_STATUS) windowCalls.statusText("", 0, STATUS_DRAW);
  qGlutInitFullscreenText(FST_STOP);
  overlayRequests = 0;
  qGlCheckStage("qGlCheckDisplayFlags()");
}

// ---------------------------------------------------------------------------------------------------------
// Shirts

enum { SHIRT_LINE_LIMIT = 250 };

// Reading state of the shirt list: the current shirt is record tshirt_count.
static bool shirtNamed;         // a name line was read
static bool shirtHasImage;      // the current shirt names an image that exists
static bool shirtMissingImage;  // the current shirt names an image that does not exist

static bool currentShirtValid() { return shirtHasImage && !shirtMissingImage; }

static void startShirt(int i, const std::string &name) {
  qTShirt[i] = TShirt{};
  snprintf(qTShirt[i].name, sizeof qTShirt[i].name, "%s", name.c_str());
  qTShirt[i].frontTexture = TEXTURE_NONE;
  qTShirt[i].backTexture = TEXTURE_NONE;
  shirtHasImage = false;
  shirtMissingImage = false;
}

// One line without its line end (LF or CR LF); false at the end of the file. Only the first characters
// of an over-long line are kept, enough to see that it is too long.
static bool readShirtLine(FILE *file, std::string &line) {
  line.clear();
  int c;
  while ((c = fgetc(file)) != EOF && c != '\n')
    if (line.size() <= SHIRT_LINE_LIMIT + 1) line += char(c);
  if (c == EOF && line.empty()) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

static std::string trimTrailing(const std::string &text) {
  size_t end = text.size();
  while (end > 0 && isspace((unsigned char)text[end - 1])) end--;
  return text.substr(0, end);
}

static int badShirtLine(const char *why, const std::string &line) {
  qMsg(QMSG_ERROR, "Read_1_shirt(): %s\n", why);
  qMsg(QMSG_DEBUG, "Read_1_shirt(): line \"%s\"\n", line.c_str());
  return SHIRT_BAD_LINE;
}

// "frontBitmap = path" or "backBitmap = path" into the current shirt.
static int readShirtBitmap(const std::string &text, const std::string &line) {
  size_t equals = text.find('=');
  if (equals == std::string::npos) return badShirtLine("string not found", line);
  size_t start = text.find_first_not_of(" \t", equals + 1);
  std::string path = backslashToSlash(trimTrailing(start == std::string::npos ? "" : text.substr(start)));
  if (path.size() >= SHIRT_PATH_SIZE) return badShirtLine("image path too long", line);
  TShirt &s = qTShirt[tshirt_count];
  if (!path.empty() && fileExists(path.c_str())) {
    snprintf(text[0] == 'f' ? s.frontBitmap : s.backBitmap, SHIRT_PATH_SIZE, "%s", path.c_str());
    shirtHasImage = true;
  } else {
    shirtMissingImage = true;
    reportNotOpenable(path.c_str());
  }
  return SHIRT_MORE;
}

int Read_1_shirt(FILE *file) {
  if (tshirt_count >= TSHIRT_COUNT) {
    qMsg(QMSG_ERROR, localText(49), "qTShirt", "TSHIRT_COUNT");
    return SHIRT_TABLE_FULL;
  }
  std::string line;
  while (readShirtLine(file, line)) {
    if (line == "EOF") return SHIRT_LIST_END;
    if (line.size() > SHIRT_LINE_LIMIT) return badShirtLine("line longer than 250 characters", line);
    size_t start = line.find_first_not_of(" \t");
    std::string text = start == std::string::npos ? "" : line.substr(start);
    text = text.substr(0, text.find('!'));
    if (text.size() + 1 < 7) continue;  // counted with its line end
    size_t colon = text.find(':');
    if (colon != std::string::npos) {
      std::string name = trimTrailing(text.substr(0, colon));
      if (name.size() >= SHIRT_NAME_SIZE) return badShirtLine("shirt name too long", line);
      if (!shirtNamed) {
        shirtNamed = true;
        snprintf(qTShirt[tshirt_count].name, SHIRT_NAME_SIZE, "%s", name.c_str());
        continue;
      }
      // A later name ends the current shirt; an invalid one is dropped and its record used again.
      if (currentShirtValid()) {
        if (tshirt_count + 1 >= TSHIRT_COUNT) {
          qMsg(QMSG_ERROR, localText(49), "qTShirt", "TSHIRT_COUNT");
          return SHIRT_TABLE_FULL;
        }
        tshirt_count++;
      }
      startShirt(tshirt_count, name);
      return SHIRT_MORE;
    }
    if (text.compare(0, 11, "frontBitmap") == 0 || text.compare(0, 10, "backBitmap") == 0) {
      int result = readShirtBitmap(text, line);
      if (result != SHIRT_MORE) return result;
      continue;
    }
    return badShirtLine("string not found", line);
  }
  return SHIRT_LIST_END;
}

int readShirtListFile(const char *name) {
  tshirt_count = 0;
  currentShirt = 0;
  shirtNamed = false;
  startShirt(0, "");
  if (!texturesOn()) return SHIRT_LIST_OK;
  FILE *file = openRegularFile(name);
  if (!file) {
    qMsg(QMSG_ERROR, localText(40), name);
    return SHIRT_LIST_MISSING;
  }
  int result;
  do result = Read_1_shirt(file);
  while (result == SHIRT_MORE);
  fclose(file);
  // The shirt being read when the list ended counts only when it is valid.
  if (currentShirtValid()) tshirt_count++;
  else qTShirt[tshirt_count] = TShirt{};
  return result == SHIRT_BAD_LINE ? SHIRT_LIST_BROKEN : SHIRT_LIST_OK;
}

int readShirtList() { return readShirtListFile("list_of_shirts"); }

int AddShirt(const char *name, int texture) {
  if (strlen(name) >= SHIRT_NAME_SIZE) {
    qMsg(QMSG_ERROR, "AddShirt(): shirt name longer than %d characters: %s\n", SHIRT_NAME_SIZE - 1, name);
    return TEXTURE_FAILED;
  }
  for (int i = 0; i < tshirt_count; i++)
    if (strcmp(qTShirt[i].name, name) == 0) return currentShirt = i;
  if (tshirt_count >= TSHIRT_COUNT) {
    qMsg(QMSG_ERROR, localText(49), "qTShirt", "TSHIRT_COUNT");
    return TEXTURE_FAILED;
  }
  TShirt &s = qTShirt[tshirt_count];
  s = TShirt{};
  snprintf(s.name, sizeof s.name, "%s", name);
  s.frontTexture = TEXTURE_NONE;
  s.backTexture = TEXTURE_NONE;
  s.red = s.green = s.blue = 255;
  if (texture >= 0 && texture < textureCount && textureTable[texture].pixels) {
    const unsigned char *p = textureTable[texture].pixels;
    s.red = p[0];
    s.green = p[1];
    s.blue = p[2];
  }
  s.flags |= SHIRT_READY;
  currentShirt = tshirt_count;
  return tshirt_count++;
}

int loadShirtTextures(int i) {
  if (i < 0 || i >= tshirt_count) return 1;
  TShirt &s = qTShirt[i];
  if (!(s.flags & SHIRT_READY)) {
    s.frontTexture = TEXTURE_NONE;
    s.backTexture = TEXTURE_NONE;
    if (s.frontBitmap[0] && (s.frontTexture = qGlReadTexture(s.frontBitmap, TEXTURE_SHIRT, FORMAT_BY_EXTENSION)) < 0) {
      s.frontTexture = TEXTURE_NONE;
      return 2;
    }
    if (s.backBitmap[0] && (s.backTexture = qGlReadTexture(s.backBitmap, TEXTURE_SHIRT, FORMAT_BY_EXTENSION)) < 0) {
      s.backTexture = TEXTURE_NONE;
      return 3;
    }
    s.flags |= SHIRT_READY;
  }
  currentShirt = i;
  return 0;
}

int loadedTextureCount() { return textureCount; }
