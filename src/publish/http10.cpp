// The HTTP/1.0 client.
#include "publish/http10.h"

#include <charconv>
#include <ostream>

#include "base/cp1252.h"

namespace tarn::publish {
namespace {

constexpr const char* kProtocol = "HTTP";
constexpr std::size_t kMaxHeaderLines = 200;

std::optional<int> PortNumber(std::string_view text) {
  int port = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || port <= 0 || port > 65535) {
    return std::nullopt;
  }
  return port;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<HttpUrl> ParseHttpUrl(std::string_view url) {
  constexpr std::string_view kScheme = "http://";
  if (url.size() < kScheme.size() || base::LowerCase(url.substr(0, kScheme.size())) != kScheme) return std::nullopt;
  url.remove_prefix(kScheme.size());
  HttpUrl out;
  const std::size_t slash = url.find('/');
  std::string_view authority = url.substr(0, slash);
  out.path = slash == std::string_view::npos ? "/" : std::string(url.substr(slash));
  // "[::1]:8080" for IPv6 literals.
  std::size_t colon = std::string_view::npos;
  if (authority.starts_with("[")) {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    out.host = std::string(authority.substr(1, close - 1));
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != ':') return std::nullopt;
      colon = close + 1;
    }
  } else {
    colon = authority.rfind(':');
    out.host = std::string(authority.substr(0, colon));
  }
  if (colon != std::string_view::npos) {
    const auto port = PortNumber(authority.substr(colon + 1));
    if (!port) return std::nullopt;
    out.port = *port;
  }
  if (out.host.empty()) return std::nullopt;
  return out;
}

bool ParseStatusLine(std::string_view line, int& status, std::string& reason) {
  if (line.size() < 12 || !line.starts_with("HTTP/1.")) return false;
  int value = 0;
  const std::string_view digits = line.substr(9, 3);
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || ptr != digits.data() + digits.size()) return false;
  status = value;
  reason = line.size() > 13 ? std::string(line.substr(13)) : std::string();
  return true;
}

void ParseHeaderLine(std::string_view line, HttpResponse& response) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  const std::string name = base::LowerCase(Trim(line.substr(0, colon)));
  const std::string_view value = Trim(line.substr(colon + 1));
  if (name == "content-length") {
    std::int64_t length = -1;
    const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), length);
    response.contentLength = ec == std::errc() && ptr == value.data() + value.size() && length >= 0 ? length : -1;
  } else if (name == "content-type") {
    response.contentType = std::string(value);
  } else if (name == "www-authenticate") {
    response.wwwAuthenticate = std::string(value);
  } else if (name == "location") {
    response.location = std::string(value);
  }
}

THttp10::THttp10(platform::SocketFactory& sockets) : T_TcpIp(sockets) { Port = 80; }

std::string THttp10::RequestText(std::string_view method, const HttpUrl& url, std::size_t contentLength) const {
  std::string target = url.path;
  if (!Proxy.empty()) target = "http://" + url.host + ":" + std::to_string(url.port) + url.path;
  std::string text = std::string(method) + " " + target + " HTTP/1.0\r\n";
  text += "User-Agent: Tarn3.0\r\n";
  if (NoCache) text += "Pragma: no-cache\r\n";
  text += "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";
  // Name-based servers need the host; HTTP/1.0 servers ignore it.
  text += "Host: " + url.host + (url.port != 80 ? ":" + std::to_string(url.port) : std::string()) + "\r\n";
  if (method == "POST") {
    text += "Content-Length: " + std::to_string(contentLength) + "\r\n";
    text += "Content-Type: application/octet-stream\r\n";
    text += "Content-Encoding: binary\r\n";
  }
  text += "\r\n";
  return text;
}

HttpResponse THttp10::Get(const std::string& url, std::ostream* sink) { return Request("GET", url, {}, {}, sink); }

HttpResponse THttp10::Post(const std::string& url, std::string_view lines, std::string_view data, std::ostream* sink) {
  return Request("POST", url, lines, data, sink);
}

HttpResponse THttp10::Request(std::string_view method, const std::string& url, std::string_view lines,
                              std::string_view data, std::ostream* sink) {
  const std::optional<HttpUrl> parsed = ParseHttpUrl(url);
  if (!parsed) throw ProtocolError(kProtocol, -1, "Bad address: " + url);
  std::string host = parsed->host;
  int port = parsed->port;
  if (!Proxy.empty()) {
    const std::size_t colon = Proxy.rfind(':');
    host = Proxy.substr(0, colon);
    port = 8080;
    if (colon != std::string::npos) {
      const auto p = PortNumber(std::string_view(Proxy).substr(colon + 1));
      if (!p) throw ProtocolError(kProtocol, -1, "Bad proxy: " + Proxy);
      port = *p;
    }
  }
  ClearCancel();
  TakePending();
  std::unique_ptr<platform::Socket> socket = Open(host, port);
  try {
    Trace(std::string(method) + " " + url, 0);
    socket->Send(RequestText(method, *parsed, lines.size() + data.size()), TimeoutMs);
    if (!lines.empty()) socket->Send(lines, TimeoutMs);
    for (std::size_t at = 0; at < data.size(); at += kBlockSize) {
      socket->Send(data.substr(at, kBlockSize), TimeoutMs);
      if (OnProgress) {
        OnProgress(static_cast<std::int64_t>(std::min(at + kBlockSize, data.size())),
                   static_cast<std::int64_t>(data.size()));
      }
    }
    HttpResponse response = ReadResponse(*socket, sink);
    Forget(socket.get());
    return response;
  } catch (...) {
    Forget(socket.get());
    throw;
  }
}

HttpResponse THttp10::ReadResponse(platform::Socket& socket, std::ostream* sink) {
  HttpResponse response;
  const std::string status = ReadLine(socket, kProtocol);
  if (!ParseStatusLine(status, response.status, response.reason)) {
    throw ProtocolError(kProtocol, -1, "Not an HTTP answer");
  }
  for (std::size_t n = 0;; ++n) {
    if (n == kMaxHeaderLines) throw ProtocolError(kProtocol, -1, "Too many header lines");
    const std::string line = ReadLine(socket, kProtocol);
    if (line.empty()) break;
    ParseHeaderLine(line, response);
  }
  std::int64_t done = 0;
  auto take = [&](std::string_view bytes) {
    if (bytes.empty()) return;
    done += static_cast<std::int64_t>(bytes.size());
    if (sink != nullptr) {
      sink->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!*sink) throw ProtocolError(kProtocol, -1, "Errore nella scrittura/lettura file");
    } else {
      if (response.body.size() + bytes.size() > MaxBodyBytes) throw ProtocolError(kProtocol, -1, "Answer too long");
      response.body.append(bytes);
    }
    if (OnProgress) OnProgress(done, response.contentLength);
  };
  take(TakePending());
  std::string buffer(kBlockSize, '\0');
  for (;;) {
    const std::size_t n = socket.Receive(buffer.data(), buffer.size(), TimeoutMs);
    if (n == 0) break;
    take(std::string_view(buffer.data(), n));
  }
  // An answer that ends before its announced length was cut off.
  if (response.contentLength >= 0 && done < response.contentLength) {
    throw ProtocolError(kProtocol, -1, "Connection closed before the end of the answer");
  }
  return response;
}

}  // namespace tarn::publish
