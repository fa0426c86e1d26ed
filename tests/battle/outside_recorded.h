// What the recorded message printer and map change of outside_recorded.cpp
// let a test see.
#pragma once

void reset_outside();
int maps_entered_count();
