// The HTTP/1.0 client of server publishing: one request per connection,
// GET and POST with the program's own header lines, an optional proxy,
// and the answer read to the end of the connection with a bound on what is
// kept in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "publish/tcpip.h"

namespace tarn::publish {

struct HttpUrl {
  std::string host;
  int port = 80;
  // Everything from the first "/" after the host on, "/" when none.
  std::string path;
};
// "http://host[:port]/path"; nothing for other schemes or a bad port.
std::optional<HttpUrl> ParseHttpUrl(std::string_view url);

struct HttpResponse {
  int status = 0;
  std::string reason;
  std::int64_t contentLength = -1;
  std::string contentType;
  std::string wwwAuthenticate;
  std::string location;
  // Empty when the body went to a stream.
  std::string body;
};

// The status line "HTTP/1.x NNN reason"; false when it is not one.
bool ParseStatusLine(std::string_view line, int& status, std::string& reason);
// One header line into the response (the four headers the client reads).
void ParseHeaderLine(std::string_view line, HttpResponse& response);

class THttp10 : public T_TcpIp {
 public:
  explicit THttp10(platform::SocketFactory& sockets);

  // "host" or "host:port"; empty for a direct connection.
  std::string Proxy;
  bool NoCache = true;
  // Bound on an answer kept in memory.
  std::size_t MaxBodyBytes = 64u << 20;
  // Per block of the body: bytes so far and the announced total (-1).
  std::function<void(std::int64_t done, std::int64_t total)> OnProgress;

  // The body goes to `sink` when given, else into the response.
  HttpResponse Get(const std::string& url, std::ostream* sink = nullptr);
  // `lines` are the parameter lines (each ending with CR LF), then `data`.
  HttpResponse Post(const std::string& url, std::string_view lines, std::string_view data,
                    std::ostream* sink = nullptr);

  // The request text (for tests and traces).
  std::string RequestText(std::string_view method, const HttpUrl& url, std::size_t contentLength) const;

 private:
  HttpResponse Request(std::string_view method, const std::string& url, std::string_view lines,
                       std::string_view data, std::ostream* sink);
  HttpResponse ReadResponse(platform::Socket& socket, std::ostream* sink);
};

}  // namespace tarn::publish
