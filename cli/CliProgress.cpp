#include "CliProgress.h"

#include <cstdio>
#include <unistd.h>

std::function<void(int done, int total)> terminalProgress(const QString& label)
{
    if (!::isatty(STDERR_FILENO))
        return {};
    const QByteArray text = label.toLocal8Bit();
    return [text, ended = false](int done, int total) mutable {
        if (ended)
            return;
        ended = done >= total;
        std::fprintf(stderr, "\r%s: %d of %d", text.constData(), done, total);
        if (ended)
            std::fputc('\n', stderr);
        std::fflush(stderr);
    };
}
