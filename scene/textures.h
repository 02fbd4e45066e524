// Textures, background, overlay state and shirts: textureTable, the panorama tiles, the 2-D overlay and qTShirt.
#pragma once
#include <cstdio>

enum {
  TEXTURE_MAX = 100,        // records of textureTable
  TEXTURE_PATH_SIZE = 100,  // a path holds at most 99 characters
  TEXTURE_NONE = -1,        // "no texture": index 0 is a real texture
  TEXTURE_FAILED = -42,
  BACKGROUND_TILES = 16,
};

// Kinds of texture; the kind decides the wrapping (repeat for models, clamp for the others).
enum { TEXTURE_MODEL = 0, TEXTURE_BACKGROUND = 2, TEXTURE_SHIRT = 3 };
// Image formats of qGlReadTexture.
enum { FORMAT_PPM = 0, FORMAT_PNG = 1, FORMAT_BY_EXTENSION = 2 };
// Results of initTextures.
enum { INIT_TEXTURES_BACKGROUND_FAILED = 4, INIT_TEXTURES_FALLBACK_FAILED = 5 };
// Operations of qGlutInitFullscreenText.
enum { FST_START = 0, FST_STOP = 1 };

struct TextureRecord {
  char path[TEXTURE_PATH_SIZE];  // the file name exactly as requested; the lookup key
  int glName;                    // GL texture name
  int width;
  int height;
  int channels;                  // 3 RGB, 4 RGBA
  int kind;                      // TEXTURE_MODEL, TEXTURE_BACKGROUND or TEXTURE_SHIRT
  unsigned char *pixels;         // width x height x channels, row t = 0 first; owned by the record, or
                                 // null in a record that shares the GL texture of another (quick background)
};

extern TextureRecord textureTable[TEXTURE_MAX];
extern int textureCount;
extern int nextTextureName;
extern int noTextureIndex;

enum {
  TSHIRT_COUNT = 200,
  SHIRT_NAME_SIZE = 100,
  SHIRT_PATH_SIZE = 200,
  SHIRT_READY = 1,  // flags: textures loaded, or a colour-only shirt
};

// Results of Read_1_shirt.
enum { SHIRT_MORE = 0, SHIRT_LIST_END = -771, SHIRT_TABLE_FULL = -42, SHIRT_BAD_LINE = 20010501 };
// Results of readShirtList.
enum { SHIRT_LIST_OK = 0, SHIRT_LIST_MISSING = 1, SHIRT_LIST_BROKEN = 2 };

struct TShirt {
  char name[SHIRT_NAME_SIZE];
  int red, green, blue;              // 0-255
  char frontBitmap[SHIRT_PATH_SIZE];  // image path of the front, empty when none
  int frontTexture;                  // textureTable index, TEXTURE_NONE when none
  char backBitmap[SHIRT_PATH_SIZE];
  int backTexture;
  int flags;                         // SHIRT_READY
};

extern TShirt qTShirt[TSHIRT_COUNT];
extern int tshirt_count;
extern int currentShirt;

// Image decoding into a record (no GL): 0, or -42 after reporting why.
int readPPM(const char *path, TextureRecord *record, int kind);
int readPNG(const char *path, TextureRecord *record, int kind);
int textureFormatOf(const char *path);

int qGlReadTexture(const char *path, int kind, int format);
void qGlUseTexture(int index);
int initTextures();
int loadBackground();
void freeTextureImages();
void qGlDrawBackground();
void qGlCheckDisplayFlags();
void qGlutInitFullscreenText(int how);
void drawTextBackdrop(int x, int y, int width, int height);

int readShirtList();
int readShirtListFile(const char *name);
int Read_1_shirt(FILE *file);
int AddShirt(const char *name, int texture);
int loadShirtTextures(int i);
