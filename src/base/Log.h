#pragma once

// The program's message log. Code that holds no reference to the main dialog writes
// to it through these two calls; the program that links the core defines them. The
// Windows program drops the line when no main dialog exists.
#if defined(__GNUC__) || defined(__clang__)
#define RAMPWISE_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define RAMPWISE_PRINTF_FORMAT(fmt, args)
#endif

void LogMessage(const char* format, ...) RAMPWISE_PRINTF_FORMAT(1, 2);
void LogError(const char* format, ...) RAMPWISE_PRINTF_FORMAT(1, 2);
