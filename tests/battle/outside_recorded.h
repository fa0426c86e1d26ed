// What the message window holds, for the battle tests.
#pragma once

void reset_outside();
