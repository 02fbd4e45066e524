// Holds: objects in the hand between catch and throw.
#pragma once

int Objekt_in_der_Hand();
