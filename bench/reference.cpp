// The frame-rate ceiling of the GL driver for a benchmark: a window of the benchmark's size that
// draws, from static display lists, the benchmark frame's number of triangles covering as many
// pixels as the frame drew fragments, and nothing else.
// Usage: reference WIDTH HEIGHT TRIANGLES FRAGMENTS SECONDS; prints
// "reference: F frames per second, ..." with the fragments its own frame drew.
#define GL_GLEXT_PROTOTYPES
#include <GL/freeglut.h>
#include <GL/glext.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const long TRIANGLES_PER_LIST = 1000;

int width, height;
long triangleCount, fragmentCount, drawnFragments = -1;
double runSeconds;
std::vector<GLuint> lists;
long frames;
std::chrono::steady_clock::time_point start;

double secondsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// The triangles as a mesh of quads in the middle of the window, spread evenly so that every part of
// the window's raster shares the work, covering as many pixels as the frame drew fragments. Each
// quad is drawn twice, facing the viewer and facing away (culled), as half of the faces of a
// scene's closed bodies are; lists of up to TRIANGLES_PER_LIST triangles, one GL_TRIANGLES run each.
void triangleVertices(long n, int columns, double x0, double y0, double cellW, double cellH) {
  long quad = n / 4;
  double x = x0 + double(quad % columns) * cellW, y = y0 + double(quad / columns) * cellH;
  const double corners[4][2] = {{x, y}, {x + cellW, y}, {x + cellW, y + cellH}, {x, y + cellH}};
  static const int order[4][3] = {{0, 1, 2}, {0, 2, 3}, {0, 2, 1}, {0, 3, 2}};
  for (int k : order[n % 4]) glVertex2d(corners[k][0], corners[k][1]);
}

void makeLists() {
  double area = std::fmin(double(fragmentCount), double(width) * height);
  double regionW = std::fmin(std::sqrt(area * width / height), double(width));
  double regionH = std::fmin(area / std::fmax(regionW, 1.0), double(height));
  long quads = (triangleCount + 3) / 4;
  int columns = int(std::ceil(std::sqrt(double(quads) * regionW / std::fmax(regionH, 1.0))));
  if (columns < 1) columns = 1;
  long rows = (quads + columns - 1) / columns;
  if (rows < 1) rows = 1;
  double x0 = -regionW / width, y0 = -regionH / height;
  double cellW = 2 * regionW / width / columns, cellH = 2 * regionH / height / double(rows);
  for (long made = 0, b = 0; made < triangleCount; b++) {
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glColor3ub(GLubyte(40 + b * 37 % 200), 120, GLubyte(200 - b * 23 % 150));
    glBegin(GL_TRIANGLES);
    for (long n = 0; n < TRIANGLES_PER_LIST && made < triangleCount; n++, made++)
      triangleVertices(made, columns, x0, y0, cellW, cellH);
    glEnd();
    glEndList();
    lists.push_back(list);
  }
}

// The first frame counts the fragments it draws.
void display() {
  static GLuint query;
  if (frames == 0) {
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  for (GLuint list : lists) glCallList(list);
  if (frames == 0) {
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint n = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &n);
    drawnFragments = long(n);
  }
  glutSwapBuffers();
  if (frames++ == 0) start = std::chrono::steady_clock::now();
  double seconds = secondsSince(start);
  if (seconds >= runSeconds) {
    printf("reference: %.1f frames per second, %ld frames in %.1f s, %ld triangles and %ld fragments a frame\n",
           (frames - 1) / seconds, frames - 1, seconds, triangleCount, drawnFragments);
    fflush(stdout);
    glutLeaveMainLoop();
  }
}

void idle() { glutPostRedisplay(); }

}  // namespace

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  if (argc != 6) {
    fprintf(stderr, "usage: %s WIDTH HEIGHT TRIANGLES FRAGMENTS SECONDS\n", argv[0]);
    return 2;
  }
  width = atoi(argv[1]);
  height = atoi(argv[2]);
  triangleCount = atol(argv[3]);
  fragmentCount = atol(argv[4]);
  runSeconds = atof(argv[5]);
  if (width <= 0 || height <= 0 || triangleCount < 0 || fragmentCount < 0 || !(runSeconds > 0)) {
    fprintf(stderr, "%s: the size, the counts and the seconds must be positive\n", argv[0]);
    return 2;
  }
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
  glutInitWindowSize(width, height);
  glutCreateWindow("quoit reference");
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glDisable(GL_DITHER);
  makeLists();
  glutDisplayFunc(display);
  glutIdleFunc(idle);
  glutMainLoop();
  return 0;
}
