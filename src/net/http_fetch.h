#pragma once
// HTTP/1.0 download of one resource into a file, over a blocking TCP socket of the socket
// layer, which the fetch initialises and shuts down itself.

#include "core/basic_string.h"

// A server that sends nothing for this long ends the fetch with 0.
constexpr int kHttpSilenceLimitMs = 30000;
// Bytes asked for by each read.
constexpr int kHttpChunkBytes = 4095;

// GETs path from host:port and stores the response body (everything after the first blank
// line) in fileName, replacing it. 1 only when the server closed the connection after the
// response; 0 on any failure (the file may then exist, empty or partly written).
double HttpGetToFile(const BasicString& host, const BasicString& path, double port, const BasicString& fileName);

// The same with the silence limit given, in milliseconds.
bool FetchHttpToFile(const char* host, const char* path, unsigned short port, const char* fileName,
                     int silenceLimitMs);
