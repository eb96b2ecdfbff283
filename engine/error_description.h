#pragma once

#include <QString>
#include <exception>

// The text a failure shows to the user: a PreviewError's message, any other exception's what().
QString errorDescription(const std::exception_ptr &error);

// True when the failure is the engine's cancellation, the one failure that stays silent.
bool isCancellation(const std::exception_ptr &error);
