// The run history file, %LOCALAPPDATA%\Quenfel\history.csv (a portable
// copy's beside the program): one line added per run by one append,
// written through to the disk, under a lock the
// user's copies share, so that copies writing at once never mix or lose
// their lines; cut back to its last runs through a new file that replaces
// the old one at once, so a crash in between leaves one or the other whole.
// Nothing here is touched before the first run.
#pragma once

#include <string>
#include <vector>

#include "settings/historyformat.h"

// The file's path. Raises EOSError when the folder cannot be found.
std::wstring RunHistoryPath();

// The clock's local time now, with its offset from UTC.
TLocalTime LocalTimeNow();

// Adds the run's line to the file at path, making the folder and the file
// (with its header) when missing. A file damaged only at its end (a power
// cut) loses just that end; one that is otherwise not a whole history of
// this program's, or is far too large to be one, is set aside whole as
// path + ".1.bad" (earlier ones move up to ".5.bad"; one that cannot move
// keeps its number) and a new one started; when none can be set aside, the
// line goes at its end and a later run tries again. Past kHistoryTrimAbove
// runs the file is cut back to the last kHistoryKeep; a cut that cannot be
// made now is made by a later run. When another copy holds the lock past a
// short wait, the line is only appended: nothing is cut, mended or set
// aside. Raises EOSError when the line could not be written. Once the folder
// or the file refused it (read-only, no rights), every later call raises at
// once, touching nothing, until the program ends.
void AppendRunHistory(const std::wstring& path, const TRunRecord& record);

// The folder or the file at path refused a line in this process.
bool RunHistoryRefused(const std::wstring& path);

// Makes the folder and a file holding only the header when there is none,
// so that the file can be opened before the first run.
void EnsureRunHistory(const std::wstring& path);

// Cuts a file that holds a whole history back to its last kHistoryKeep runs:
// the new content goes to a new file, which then replaces it.
// False when the file could not be read or replaced; it is left as it was.
bool TrimRunHistory(const std::wstring& path);

// The last count runs of the file at path, newest first; none when there is
// no file yet or it cannot be read (the window that lists them says nothing
// more than that there are none).
std::vector<TRunRecord> ReadLastRuns(const std::wstring& path, std::size_t count);
