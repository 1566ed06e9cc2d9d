// Lets the program that embeds the store stop a long table write: the check is asked now and
// then while rows are written, and a write it stops fails as any other does, leaving the old
// file and no working folder.
#pragma once

namespace mbhost::gdal {

using StopCheck = bool (*)();

// check must be safe to call from the writing thread at any time; null: never stop.
void setWriteStopCheck(StopCheck check);
bool writeStopRequested();

}  // namespace mbhost::gdal
