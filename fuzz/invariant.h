// How a fuzzer reports a broken invariant: the invariant in words, then an abort that libFuzzer
// keeps the input of.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QByteArrayView>
#include <QStringDecoder>

namespace nx5rb::fuzz {

[[noreturn]] inline void Fail(const char *what)
{
    std::fprintf(stderr, "%s: broken invariant: %s\n", program_invocation_short_name, what);
    std::abort();
}

inline void Check(bool holds, const char *what)
{
    if (!holds)
        Fail(what);
}

inline bool IsUtf8(const std::string &text)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder(QByteArrayView(text.data(), qsizetype(text.size())));
    return !decoder.hasError();
}

} // namespace nx5rb::fuzz
