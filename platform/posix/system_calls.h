#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace orvane::posix {

// The operating-system calls the file-system object makes, behind one seam so
// that tests can make any of them fail (a full disk, a denied folder) even when
// they run as root. Each returns 0 on success or the errno value of its failure;
// EINTR is retried inside.
class SystemCalls {
 public:
  virtual ~SystemCalls() = default;

  virtual int Status(const std::string& path, struct stat& out);      // follows links
  virtual int LinkStatus(const std::string& path, struct stat& out);  // does not
  virtual int MakeFolder(const std::string& path);
  // Creates a new folder, readable and writable by its owner alone, from a
  // mkdtemp template ("...XXXXXX"), which then holds the name made.
  virtual int MakeUniqueFolder(std::string& path_template);
  // Whether this process may write the file, by its effective identity.
  virtual int CheckWritable(const std::string& path);
  virtual int RemoveFolder(const std::string& path);
  virtual int RemoveFile(const std::string& path);
  virtual int Rename(const std::string& from, const std::string& to);
  // The same when nothing has the name `to`; EEXIST when something has, and
  // EINVAL or ENOSYS where the file system cannot rename that way.
  virtual int RenameWithoutReplacing(const std::string& from, const std::string& to);
  // The names in a folder, without "." and "..".
  virtual int ListFolder(const std::string& path, std::vector<std::string>& names);

  virtual int Open(const std::string& path, int flags, mode_t mode, int& fd);
  // Creates and opens (for reading and writing) a new file from a mkstemp
  // template ("...XXXXXX"), which then holds the name made. The file gets
  // `mode` less the umask, as any new file.
  virtual int CreateUniqueFile(std::string& path_template, mode_t mode, int& fd);
  virtual int FileStatus(int fd, struct stat& out);
  virtual int Read(int fd, char* buffer, std::size_t size, std::size_t& count);
  // Writes part of the bytes; `count` tells how many.
  virtual int Write(int fd, const char* bytes, std::size_t size, std::size_t& count);
  virtual int Truncate(int fd, off_t length);
  virtual int ChangeMode(int fd, mode_t mode);
  virtual int Close(int fd);
};

// Writes all the bytes, in as many calls as it takes; 0 or the errno value.
int WriteAll(SystemCalls& calls, int fd, const char* bytes, std::size_t size);

}  // namespace orvane::posix
