// Loading helpers for the pattern tests: a fresh per-pattern state, then Muster_laden.
#pragma once
#include <string>

std::string sourcePath(const std::string &relative);
std::string writeTempPattern(const std::string &name, const std::string &text);
// Tests of the whole program set it to empty the object table and the figure state before a load.
extern void (*resetSceneForLoad)();
void freshPatternState();
int loadPattern(const std::string &path);
// The load alone, in the home directory, for a test that set preferences after freshPatternState.
int loadPreparedPattern(const std::string &path);
int loadText(const std::string &text);
// Converts a siteswap with the built kovex: the pattern text, or "" with kovex's output in why.
std::string convertSiteswap(const std::string &notation, std::string *why = nullptr);
