// Whether two paths name one file, whatever the path: so that an output
// never replaces the input it was made from.
#ifndef ZOINT_TOOLS_SAME_FILE_H
#define ZOINT_TOOLS_SAME_FILE_H

namespace zoint_cli {

// True when both paths exist and lead to the same file (through links,
// "./", another directory's "..", a hard link): same device and inode, or
// on Windows the same volume and file index.
bool SameFile(const char* a, const char* b);

}  // namespace zoint_cli

#endif  // ZOINT_TOOLS_SAME_FILE_H
