// The server directory's addresses on the directory host.
#pragma once

#include <string>

// "http://" + the directory host.
std::string DirectoryRoot();
// The server list.
std::string ServerListUrl();
// The detailed server list.
std::string AdvancedListUrl();
// A server's description and address files, under its server path name.
std::string ServerDetailsUrl(const std::string& serverPathName);
std::string ServerLinkUrl(const std::string& serverPathName);
// The update file named after a program version.
std::string UpdateFileUrl(const std::string& version);
