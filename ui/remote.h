// Remote-control window: the second top-level window with its 2D panel and frame-rate bar.
#pragma once

int qGlutqrcOpen();
void qGlutqrcsubDisplay();
