// Walking editor and keyframes: the keyframe section of a pattern file.
#pragma once
#include <cstdio>

int readKeyframes(FILE *stream);
void walkingEditorMenu(int command);
