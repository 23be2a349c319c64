// The files of a mounted system drive, reached from Linux: names found
// without regard to letter case (the drive's folders are WINDOWS or Windows,
// NTUSER.DAT or ntuser.dat, whatever the mount shows), whole copies synced to
// the disk, renames that are on the disk when they return, and a fingerprint
// of a file's bytes to tell later whether it changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kwetro::offline {

// The path below dir whose components equal those of relative (separated by
// '/') without regard to letter case; empty when some component is missing,
// or is "." or "..".
std::string FindIgnoringCase(const std::string& dir, const std::string& relative);

// "dir/name".
std::string Join(const std::string& dir, const std::string& name);
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

bool Exists(const std::string& path);

bool ReadStart(const std::string& path, std::size_t size, std::string& bytes, std::string& reason);

// A file's size and a 64-bit FNV-1a hash of its bytes, as text "SIZE:HASH".
bool Fingerprint(const std::string& path, std::string& print, std::string& reason);

// Whether a file could be replaced: the file and its folder writable, the
// file system not mounted read-only. reason names which is not.
bool Replaceable(const std::string& path, std::string& reason);

// Copies from to to (a new file, or one replaced), its bytes on the disk when
// it returns.
bool CopySynced(const std::string& from, const std::string& to, std::string& reason);
// The name of a new file beside the one it is to replace.
inline constexpr char kNewSuffix[] = ".kwetro-new";

// Puts the bytes of copy in the place of path, by way of a new file beside
// it that keeps path's permissions, renamed over it.
bool ReplaceWithCopy(const std::string& copy, const std::string& path, std::string& reason);

// A second name for the file from, synced to the disk: false, with nothing
// made, where the file system has no links or to is on another one.
bool LinkSynced(const std::string& from, const std::string& to);

// Writes bytes to path under a temporary name in its folder and renames it.
bool WriteSynced(const std::string& path, const std::string& bytes, std::string& reason);
// Renames from over to and syncs the folder, so that the new name survives a
// power cut.
bool RenameSynced(const std::string& from, const std::string& to, std::string& reason);
bool SyncFile(const std::string& path, std::string& reason);
// Gives to the permissions of from, and on NTFS its security descriptor and
// attributes (a hive replaced by a new file keeps its own).
void KeepMode(const std::string& from, const std::string& to);
void RemoveFile(const std::string& path);

}  // namespace kwetro::offline
