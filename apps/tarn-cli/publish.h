// tarn-cli publish and tarn-cli server: publishing without a display, by
// FTP with the version page, and to a server with the server extensions.
#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Arguments after "publish" and after "server"; answer the exit code (2
// for bad usage).
int Publish(const std::vector<std::string>& args);
int Server(const std::vector<std::string>& args);

}  // namespace tarn::cli
