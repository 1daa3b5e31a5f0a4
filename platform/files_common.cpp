// The parts of the file layer that do not depend on the system.
#include "platform/files.h"

#include <algorithm>

namespace pallo::files {

const char* writeStepName(WriteStep step) {
    switch (step) {
        case WriteStep::CreateTemp: return "CreateTemp";
        case WriteStep::Write: return "Write";
        case WriteStep::Flush: return "Flush";
        case WriteStep::Close: return "Close";
        case WriteStep::Replace: return "Replace";
    }
    return "?";
}

bool Replacement::ask(WriteStep step) {
    if (error_ == WriteError::None && hook_) error_ = hook_(step);
    return error_ == WriteError::None;
}

bool Replacement::write(std::string_view bytes) {
    if (!ask(WriteStep::Write) || !writeHere(bytes)) return false;
    position_ += bytes.size();
    size_ = std::max(size_, position_);
    return true;
}

WriteResult writeReplace(const std::string& path, std::string_view bytes, const FaultHook& hook) {
    Replacement file(path, hook);
    file.write(bytes);
    return file.commit();
}

}  // namespace pallo::files
