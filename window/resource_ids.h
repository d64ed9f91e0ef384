/* Resource identifiers shared by the program's code and its resource script. */
#pragma once

#define IDI_QUORVEL 1
