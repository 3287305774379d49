#include "shell/filesizesignal.h"

#include <csignal>

namespace kelvara {

void ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace kelvara
