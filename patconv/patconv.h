// patconv's whole run as a function: the command line in, the exit status out; nothing exits.
#pragma once

int patconvMain(int argc, char **argv);
