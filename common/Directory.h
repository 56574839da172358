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

// The server address text as it goes into a URL: the text with the white space around it
// (blanks, tabs, CR, LF) dropped. A serverLink.txt nearly always ends with a line end, which
// would otherwise land inside the URL and break the address the client is given.
std::string AddressForUrl(const std::string& serverAddressText);
// The voice-chat client's launch URL for a server address and a server name, each
// percent-encoded where a URL cannot hold a byte as itself.
std::string LaunchUrl(const std::string& serverAddressText, const std::string& serverName);
// The status service's page for a target ("host:port").
std::string StatusPageUrl(const std::string& target);

// A server name as the path segment of its folder on the directory host: each blank as "%20",
// and every other byte a path segment cannot hold ('#', '?', '%', '/', non-ASCII, ...)
// percent-encoded; what a segment allows ('&', ':', '@', '!', ...) stays as it is.
std::string ServerPathName(const std::string& serverName);
