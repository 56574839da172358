#include "common/Directory.h"

#include "Hosts.h"
#include "common/UrlText.h"

std::string DirectoryRoot() {
  return std::string("http://") + kDirectoryHost;
}

std::string ServerListUrl() {
  return DirectoryRoot() + "/files/brindlecot/ventList.txt";
}

std::string AdvancedListUrl() {
  return DirectoryRoot() + "/files/brindlecot/advancedList.txt";
}

std::string ServerDetailsUrl(const std::string& serverPathName) {
  return DirectoryRoot() + "/files/brindlecot/Servers/" + serverPathName + "/serverDetails.txt";
}

std::string ServerLinkUrl(const std::string& serverPathName) {
  return DirectoryRoot() + "/files/brindlecot/Servers/" + serverPathName + "/serverLink.txt";
}

std::string UpdateFileUrl(const std::string& version) {
  return DirectoryRoot() + "/files/sparkle/" + version + ".txt";
}

std::string AddressForUrl(const std::string& serverAddressText) {
  const char* const kWhiteSpace = " \t\r\n";
  const std::size_t first = serverAddressText.find_first_not_of(kWhiteSpace);
  if (first == std::string::npos) return {};
  const std::size_t last = serverAddressText.find_last_not_of(kWhiteSpace);
  return serverAddressText.substr(first, last - first + 1);
}

// The address keeps what an authority holds (a host, ':' and the port, brackets of an IPv6
// address). The name keeps only letters, digits and "-._~": a client may read "servername=" as a
// path or as a form field, where '&', ';', '=' and '+' would cut or change it, so every other
// byte is percent-encoded and the client is given the name whole either way.
std::string LaunchUrl(const std::string& serverAddressText, const std::string& serverName) {
  return "ventrilo://" + PercentEncode(AddressForUrl(serverAddressText), "!$&'()*+,;=:[]") +
         "/servername=" + PercentEncode(serverName, "");
}

std::string StatusPageUrl(const std::string& target) {
  return std::string("http://") + kStatusHost + "/ventrilo/" + target + "/ventrilo_status.html";
}

std::string ServerPathName(const std::string& serverName) {
  return PercentEncode(serverName, kSegmentKeeps);
}
