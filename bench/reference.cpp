// The frame-rate ceiling of the GL driver for a benchmark: a window of the benchmark's size that
// draws the benchmark frame's number of triangles from static display lists, and nothing else.
// Usage: reference WIDTH HEIGHT TRIANGLES SECONDS; prints "reference: F frames per second".
#include <GL/freeglut.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const long TRIANGLES_PER_LIST = 1000;

long triangleCount;
double runSeconds;
std::vector<GLuint> lists;
long frames;
std::chrono::steady_clock::time_point start;

double secondsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// The triangles as closed balls of up to TRIANGLES_PER_LIST triangles, one list and one
// GL_TRIANGLES run each, in a grid over the window that they cover about half of: like the bodies
// of a scene, half of each ball faces away and is culled.
void ballVertex(double cx, double cy, double r, int stack, int slice, int stacks, int slices) {
  double p = M_PI * stack / stacks, t = 2 * M_PI * slice / slices;
  glVertex3d(cx + r * sin(p) * cos(t), cy + r * sin(p) * sin(t), r * cos(p));
}

void makeLists() {
  long balls = (triangleCount + TRIANGLES_PER_LIST - 1) / TRIANGLES_PER_LIST;
  int columns = int(std::ceil(std::sqrt(double(balls))));
  if (columns < 1) columns = 1;
  int rows = int((balls + columns - 1) / columns);
  if (rows < 1) rows = 1;
  double w = 2.0 / columns, h = 2.0 / rows, r = 0.4 * (w < h ? w : h);
  long made = 0;
  for (long b = 0; made < triangleCount; b++) {
    long count = triangleCount - made < TRIANGLES_PER_LIST ? triangleCount - made : TRIANGLES_PER_LIST;
    int stacks = int(std::ceil(std::sqrt(count / 4.0))), slices = 2 * stacks;
    double cx = -1 + w * (double(b % columns) + 0.5), cy = -1 + h * (double(b / columns) + 0.5);
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glColor3ub(GLubyte(40 + b * 37 % 200), 120, GLubyte(200 - b * 23 % 150));
    glBegin(GL_TRIANGLES);
    for (long n = 0; n < count; n++) {
      int quad = int(n / 2), stack = quad / slices, slice = quad % slices;
      if (n % 2 == 0) {
        ballVertex(cx, cy, r, stack, slice, stacks, slices);
        ballVertex(cx, cy, r, stack + 1, slice, stacks, slices);
        ballVertex(cx, cy, r, stack + 1, slice + 1, stacks, slices);
      } else {
        ballVertex(cx, cy, r, stack, slice, stacks, slices);
        ballVertex(cx, cy, r, stack + 1, slice + 1, stacks, slices);
        ballVertex(cx, cy, r, stack, slice + 1, stacks, slices);
      }
    }
    glEnd();
    glEndList();
    lists.push_back(list);
    made += count;
  }
}

void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  for (GLuint list : lists) glCallList(list);
  glutSwapBuffers();
  if (frames++ == 0) start = std::chrono::steady_clock::now();
  double seconds = secondsSince(start);
  if (seconds >= runSeconds) {
    printf("reference: %.1f frames per second, %ld frames in %.1f s, %ld triangles a frame\n", (frames - 1) / seconds,
           frames - 1, seconds, triangleCount);
    fflush(stdout);
    glutLeaveMainLoop();
  }
}

void idle() { glutPostRedisplay(); }

}  // namespace

int main(int argc, char **argv) {
  glutInit(&argc, argv);
  if (argc != 5) {
    fprintf(stderr, "usage: %s WIDTH HEIGHT TRIANGLES SECONDS\n", argv[0]);
    return 2;
  }
  int width = atoi(argv[1]), height = atoi(argv[2]);
  triangleCount = atol(argv[3]);
  runSeconds = atof(argv[4]);
  if (width <= 0 || height <= 0 || triangleCount < 0 || !(runSeconds > 0)) {
    fprintf(stderr, "%s: the size, the triangle count and the seconds must be positive\n", argv[0]);
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
