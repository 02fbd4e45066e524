// Safe file access for outside and user files: regular files only, bounded reads, writes
// through a unique temporary file that is synced and renamed, and the program's own files made
// without following a link. Uses only the C library, so the converters link it too.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Results of readRegularFile.
enum {
  READ_FILE_OK = 0,
  READ_FILE_CANNOT_OPEN = 1,
  READ_FILE_NOT_REGULAR = 2,  // a directory, FIFO, device or socket
  READ_FILE_TOO_LARGE = 3,
  READ_FILE_FAILED = 4,
};

// Bound of every read of a pattern, header or style file.
const size_t MAX_TEXT_FILE_SIZE = 1 << 20;

// Opens a file for reading only when it is a regular file; a FIFO never blocks the open.
// nullptr with errno set otherwise (EINVAL: not a regular file).
FILE *openRegularFile(const char *path);
// The whole of a regular file of at most limit bytes; errno is EFBIG when it is larger.
int readRegularFile(const char *path, std::string &text, size_t limit);
// The lines of a regular text file of at most limit bytes, their LF or CR LF ends removed; a last
// line without an end is a line too, and a leading UTF-8 byte-order mark is no text. False when
// the file cannot be read.
bool readRegularLines(const char *path, std::vector<std::string> &lines, size_t limit);
// Replaces the file with the text: a unique temporary file in the same directory, the mode of
// the old file, fsync, rename, fsync of the directory. A symbolic link is kept and its target
// written. False with errno set when any step fails; the old file then stays as it was.
bool writeFileAtomically(const char *path, const std::string &text);
// Writes one of the program's own files (in the temporary directory, a dump) the same way, but a
// symbolic link in its place is replaced, never followed, and the file gets the default mode.
bool replaceOwnFileAtomically(const char *path, const std::string &text);
// Writes a new file the same way, linked into place only when no file of that name exists (not
// even a dangling link): false with errno EEXIST then, and nothing is changed.
bool writeNewFileAtomically(const char *path, const std::string &text);
// Whether anything stands at the name: a symbolic link is not followed, so a dangling one counts.
bool nameTaken(const char *path);
// Creates a file of a new name for writing. Refused (nullptr, errno EEXIST) when anything stands
// there, a dangling link included, so no link is ever followed.
FILE *createNewFile(const char *path);
// Opens one of the program's own files of a fixed name (the trace, the exchange files) for
// writing, emptied or made. A symbolic link, FIFO, directory or device there is refused, never
// followed nor waited on: nullptr with errno ELOOP (a link), EISDIR, or EINVAL (not regular). A
// regular file that has other names too (hard links) is replaced by a new file, not written into.
FILE *createOwnFile(const char *path);
// A short reason for the errno of a failed open, read or write of these functions.
const char *fileErrorReason(int error);
// Whether writeFileAtomically could make its temporary file for the path; nothing is left behind.
bool canWriteBeside(const char *path);
// Makes path a real directory of ours: a symbolic link or a file in its place is removed first.
// False when it cannot be made.
bool makeOwnDirectory(const char *path);
// Removes the regular files of this user and the symbolic links (never what they point to) in
// the directory; a directory that is itself a link is not opened.
void clearOwnDirectory(const char *path);
