// Scene posing in VRML mode: buildScene poses the model tree at the current time.
#pragma once

struct ObjectNode;
extern ObjectNode *qScene;

int buildScene(ObjectNode *scene, double step, double t, double *position, int row);
