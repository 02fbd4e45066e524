// kovex's whole run as a function: the command line in, the exit status out; nothing exits.
#pragma once

int kovexMain(int argc, char **argv);
