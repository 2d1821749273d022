// What the ffprobe command says of a media file, for tests that check files
// the program wrote as any other reader of them would.
#pragma once

#include <map>
#include <string>

// The entries of ffprobe's flat output for the file's format and streams,
// by their names ("format.format_name", "format.tags.major_brand",
// "streams.stream.0.codec_name", ...), their quotes taken off; empty when
// ffprobe cannot read the file.
std::map<std::string, std::string> FFprobe(const std::string& AFileName);
