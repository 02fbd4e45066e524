// Scene posing in VRML mode: buildScene poses the model tree at the current time.
#pragma once

struct ObjectNode;
extern ObjectNode *qScene;

// Poses every juggled object's node (index -1) or one, and solves the arms; with a null list and a
// result vector, only the position of object index at time t. 1 when there is no node to pose.
int buildScene(ObjectNode *scene, double step, double t, double *position, int row);
// A held object sits at its radius from the hand path.
void radiusOffset(ObjectNode *node);
