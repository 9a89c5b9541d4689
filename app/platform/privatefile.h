#pragma once

#include <QString>

namespace platform {

// Opens `path` for appending as a file of this user's alone: created with mode 0600, never
// through a symbolic link, refused when another user owns it or it is no regular file (a
// shared folder such as /tmp lets anyone plant either). Answers the descriptor, or -1 with
// the reason in `refusal`.
int openOwnFileForAppend(const QString& path, QString* refusal);

} // namespace platform
