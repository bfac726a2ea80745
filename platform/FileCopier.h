#pragma once
// Copies files onto the medium so that no reader ever finds half a file: the bytes go to a
// temporary name in the target's folder, which is renamed to the target only when the copy is
// whole (replacing a file of that name). A folder is copied whole under a temporary name in the
// same way and renamed when every file in it is there. A copy that fails or is cancelled leaves
// nothing behind.
#include <cstdint>
#include <functional>
#include <string>

enum class CopyResult {
    Copied,
    Cancelled,
    SourceUnreadable,  // the file to copy cannot be opened or read
    MediumFull,        // not enough free space on the medium
    ReadOnly,          // the medium cannot be written to: a disc, a write-protected stick
    NameRefused,       // the medium cannot hold this name or path (too long, characters it refuses)
    TooLarge,          // the file is larger than the medium's file system holds (4 GiB on FAT32)
    LinkedFolder,      // the folder to copy holds a linked folder (a junction or a symbolic link)
    Failed,            // anything else
};

class FileCopier {
public:
    // How far a copy is, in bytes; return false to cancel it.
    using Progressed = std::function<bool(std::uint64_t done, std::uint64_t total)>;

    virtual ~FileCopier() = default;
    virtual CopyResult Copy(const std::string& /*from*/, const std::string& /*to*/,
                                const Progressed& /*progressed*/) {
        return CopyResult::Failed;
    }
    // Copies the folder `from` with everything in it to `to`, which must not exist yet; a linked
    // folder inside is not followed, and refuses the copy.
    virtual CopyResult CopyFolder(const std::string& /*from*/, const std::string& /*to*/,
                                  const Progressed& /*progressed*/) {
        return CopyResult::Failed;
    }
};

inline FileCopier& NoFileCopier() {
    static FileCopier none;
    return none;
}
