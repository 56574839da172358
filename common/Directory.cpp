#include "common/Directory.h"

#include "Basics.h"
#include "Hosts.h"

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

std::string LaunchUrl(const std::string& serverAddressText, const std::string& serverName) {
  return "ventrilo://" + AddressForUrl(serverAddressText) + "/servername=" + serverName;
}

std::string StatusPageUrl(const std::string& target) {
  return std::string("http://") + kStatusHost + "/ventrilo/" + target + "/ventrilo_status.html";
}

std::string ServerPathName(const std::string& serverName) {
  return ReplaceAll(serverName, " ", "%20");
}
