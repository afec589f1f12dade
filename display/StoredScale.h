#pragma once
// The editor's draw scale kept between openings and shared by every instance: one line in a
// small text file in the user's settings folder. [editor-thread]; the last editor to close wins.
#include <string>

// The file for a product: characters a file name cannot hold become '_'. "" when the product
// name is empty or the folder is unknown.
std::string ScaleFilePath(const char* productName);
// True with a finite, positive scale from the file's first line; false for anything else.
bool ReadStoredScale(const char* productName, float& scale);
// Replaces the file with one line "%.4f\n" of the scale; false when the scale is not finite
// and positive or the file could not be written (the old file then stays as it was).
bool WriteStoredScale(const char* productName, float scale);
