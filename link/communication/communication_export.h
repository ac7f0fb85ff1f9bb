// Marks the classes that the Communication library exports; everything else stays hidden.
#pragma once

#define COMMUNICATION_API __attribute__((visibility("default")))
