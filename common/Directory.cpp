#include "common/Directory.h"

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
