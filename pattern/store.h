// Pattern store: the counts and scalars of the loaded pattern and the juggler records quoitPos.
#pragma once

enum { MAX_JUGGLERS = 20, QINTERNAL_WORDS = 30, QINTERNAL_JUGGLERS = 21 };

struct QuoitPosRecord {
  double position[3];   // metres
  double reference[3];  // the figure's reference point, metres
  double base[3];
  double ZWinkel;       // heading, radians
  double headTilt;      // radians; 1717.1717 when no figure stands here
};

extern QuoitPosRecord quoitPos[MAX_JUGGLERS];
extern int qInternal[QINTERNAL_WORDS];  // word 21: jugglers
extern int WRAP;                        // 1 when the pattern has wrap lines
extern int takte;
extern double dt;
extern char Mustertitel[65];

void freePatternData();
void freeObjectSlots();
