// The parts of the file layer that do not depend on the system.
#include "platform/files.h"

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

WriteResult writeReplace(const std::string& path, std::string_view bytes, const FaultHook& hook) {
    Replacement file(path, hook);
    file.write(bytes);
    return file.commit();
}

}  // namespace pallo::files
