// vtlpack: packs files into resource archives, appends archives to executables, and
// lists and extracts archive members.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "archive_builder.h"
#include "files/archive_directory.h"
#include "files/archive_format.h"
#include "files/archive_member.h"

namespace {

constexpr const char* kUsage =
    "usage: vtlpack create ARCHIVE FILE...\n"
    "           pack FILEs into a new stand-alone archive (replaces ARCHIVE)\n"
    "       vtlpack append TARGET FILE...\n"
    "           append an archive of FILEs to the existing file TARGET, such as a game's\n"
    "           executable; the game can then select itself as its archive\n"
    "       vtlpack list ARCHIVE\n"
    "           print each member's packed size, unpacked size and name\n"
    "       vtlpack extract ARCHIVE [-C FOLDER] [MEMBER...]\n"
    "           unpack the named members (all when none is named) into FOLDER\n"
    "           (default: the current folder)\n"
    "Members are stored under the base name of each FILE; lookups ignore letter case\n"
    "and the first of two members with the same name wins.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "vtlpack: %s\n", message.c_str());
  return 1;
}

std::string SystemError() { return std::strerror(errno); }

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& data, std::string& error) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (descriptor < 0 || fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "cannot read \"" + path + "\": " + (descriptor < 0 ? SystemError() : "not a regular file");
    if (descriptor >= 0) close(descriptor);
    return false;
  }
  data.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t got = read(descriptor, data.data() + done, data.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      error = "cannot read \"" + path + "\": " + (got < 0 ? SystemError() : "file shrank while reading");
      close(descriptor);
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  close(descriptor);
  return true;
}

bool WriteAll(int descriptor, const std::vector<unsigned char>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool CollectInputs(int count, char** paths, std::vector<ArchiveInput>& inputs, std::string& error) {
  std::set<std::string> seen;
  for (int i = 0; i < count; ++i) {
    ArchiveInput input;
    input.name = std::string(RequestBaseName(paths[i]));
    if (!ReadWholeFile(paths[i], input.data, error)) return false;
    std::string folded = input.name;
    for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (!seen.insert(folded).second) {
      std::fprintf(stderr, "vtlpack: warning: \"%s\" repeats a member name; lookups find the first one\n",
                   input.name.c_str());
    }
    inputs.push_back(std::move(input));
  }
  return true;
}

int Create(const std::string& archivePath, int count, char** paths) {
  std::vector<ArchiveInput> inputs;
  std::vector<unsigned char> archive;
  std::string error;
  if (!CollectInputs(count, paths, inputs, error) || !BuildArchive(inputs, false, archive, error)) return Fail(error);
  const int descriptor = open(archivePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) return Fail("cannot create \"" + archivePath + "\": " + SystemError());
  const bool written = WriteAll(descriptor, archive);
  if (close(descriptor) != 0 || !written) {
    unlink(archivePath.c_str());
    return Fail("cannot write \"" + archivePath + "\": " + SystemError());
  }
  return 0;
}

int Append(const std::string& targetPath, int count, char** paths) {
  std::vector<ArchiveInput> inputs;
  std::vector<unsigned char> archive;
  std::string error;
  if (!CollectInputs(count, paths, inputs, error) || !BuildArchive(inputs, true, archive, error)) return Fail(error);
  const int descriptor = open(targetPath.c_str(), O_WRONLY | O_CLOEXEC);
  struct stat info {};
  if (descriptor < 0 || fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (descriptor >= 0) close(descriptor);
    return Fail("cannot open \"" + targetPath + "\" to append to it: " +
                (descriptor < 0 ? SystemError() : "not a regular file"));
  }
  // On a failed write the target is cut back to its old size, so it is never left
  // holding half an archive.
  const bool written = lseek(descriptor, 0, SEEK_END) == info.st_size && WriteAll(descriptor, archive);
  if (!written) {
    const std::string reason = SystemError();
    if (ftruncate(descriptor, info.st_size) != 0) {
      close(descriptor);
      return Fail("cannot append to \"" + targetPath + "\" (" + reason + ") nor restore its size");
    }
    close(descriptor);
    return Fail("cannot append to \"" + targetPath + "\": " + reason);
  }
  if (close(descriptor) != 0) return Fail("cannot append to \"" + targetPath + "\": " + SystemError());
  return 0;
}

bool OpenArchive(const std::string& path, ArchiveFile& file, ArchiveTrailer& trailer, std::string& error) {
  errno = 0;
  if (!file.Open(path.c_str())) {
    error = "cannot open \"" + path + "\" as an archive: " + (errno ? SystemError() : "not a regular file");
    return false;
  }
  trailer = ReadArchiveTrailer(file);
  if (trailer.status != TrailerStatus::kValid) {
    error = "\"" + path + "\" is not an archive (no \"vtL\" trailer at its end)";
    return false;
  }
  return true;
}

int List(const std::string& archivePath) {
  ArchiveFile file;
  ArchiveTrailer trailer;
  std::string error;
  if (!OpenArchive(archivePath, file, trailer, error)) return Fail(error);
  ArchiveDirectoryReader reader(file, trailer.directoryOffset);
  ArchiveEntry entry;
  std::printf("%12s %12s  %s\n", "packed", "unpacked", "name");
  int damaged = 0;
  while (reader.Next(entry)) {
    unsigned char header[kArchiveMemberHeaderSize];
    const bool readable = entry.packedSize >= kArchiveMemberHeaderSize &&
                          file.ReadAt(entry.position, header, sizeof header) &&
                          file.Size() - entry.position >= entry.packedSize;
    if (readable) {
      std::printf("%12u %12d  %s\n", entry.packedSize, static_cast<std::int32_t>(ReadLittleEndian32(header)),
                  entry.name.c_str());
    } else {
      std::printf("%12u %12s  %s\n", entry.packedSize, "damaged", entry.name.c_str());
      ++damaged;
    }
  }
  return damaged ? Fail(std::to_string(damaged) + " damaged member(s)") : 0;
}

// A member name is used as a file name in the target folder only when it cannot point
// anywhere else.
bool SafeFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

int Extract(const std::string& archivePath, const std::string& folder, const std::vector<std::string>& wanted) {
  ArchiveFile file;
  ArchiveTrailer trailer;
  std::string error;
  if (!OpenArchive(archivePath, file, trailer, error)) return Fail(error);

  int failures = 0;
  std::set<std::string> done;
  const auto extract = [&](const ArchiveEntry& entry) {
    UnpackedMember member;
    if (!SafeFileName(entry.name)) {
      ++failures;
      return (void)std::fprintf(stderr, "vtlpack: skipping member with unsafe name \"%s\"\n", entry.name.c_str());
    }
    if (UnpackArchiveMember(file, entry, member) != UnpackStatus::kUnpacked || !member.complete) {
      ++failures;
      return (void)std::fprintf(stderr, "vtlpack: member \"%s\" is damaged\n", entry.name.c_str());
    }
    const std::string path = folder + "/" + entry.name;
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    const bool written = descriptor >= 0 && WriteAll(descriptor, std::vector<unsigned char>(
                                                                      member.bytes.get(), member.bytes.get() + member.length));
    if (descriptor < 0 || close(descriptor) != 0 || !written) {
      ++failures;
      std::fprintf(stderr, "vtlpack: cannot write \"%s\": %s\n", path.c_str(), SystemError().c_str());
    }
  };

  ArchiveDirectoryReader reader(file, trailer.directoryOffset);
  ArchiveEntry entry;
  std::vector<ArchiveEntry> entries;
  while (reader.Next(entry)) entries.push_back(entry);
  if (wanted.empty()) {
    // Only the first of several members with one name is ever found by a lookup.
    for (const ArchiveEntry& candidate : entries) {
      std::string folded = candidate.name;
      for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
      if (done.insert(folded).second) extract(candidate);
    }
  } else {
    for (const std::string& name : wanted) {
      ArchiveEntry found;
      if (FindArchiveMember(file, trailer.directoryOffset, name, found) == MemberSearch::kFound) {
        extract(found);
      } else {
        ++failures;
        std::fprintf(stderr, "vtlpack: no member \"%s\" in \"%s\"\n", name.c_str(), archivePath.c_str());
      }
    }
  }
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "-h" || command == "--help" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if ((command == "create" || command == "append") && argc >= 4) {
    return command == "create" ? Create(argv[2], argc - 3, argv + 3) : Append(argv[2], argc - 3, argv + 3);
  }
  if (command == "list" && argc == 3) return List(argv[2]);
  if (command == "extract" && argc >= 3) {
    std::string folder = ".";
    std::vector<std::string> wanted;
    for (int i = 3; i < argc; ++i) {
      if (std::strcmp(argv[i], "-C") == 0) {
        if (i + 1 >= argc) return Fail("-C needs a folder");
        folder = argv[++i];
      } else {
        wanted.emplace_back(argv[i]);
      }
    }
    return Extract(argv[2], folder, wanted);
  }
  std::fputs(kUsage, stderr);
  return 2;
}
