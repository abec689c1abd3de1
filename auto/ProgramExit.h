#pragma once
// Set once the program has begun to exit (application exit or the desktop session ending).
// From then on window placements are not stored and sound events stay silent.
bool programIsExiting();
void setProgramExiting(bool exiting);
