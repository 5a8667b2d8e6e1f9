#pragma once

#include <string>

namespace orvane::bench {

// Stores made up for the benchmarks: the same text for the same arguments on
// every machine, with the lengths and the mix of values of real address books
// (accented names, multi-line notes and streets, several e-mail addresses).

// The "properties" array of one entry that holds every property the card
// writer reads, as the array's JSON text.
std::string FullEntryProperties();
// An entry with a display name alone.
std::string MinimalEntryProperties();

// An address book of one entry with these properties.
std::string OneEntryAddressBook(const std::string& properties);

// An address book of `count` entries: every entry has a name, e-mail addresses,
// a mobile number and a modification time; every second one works somewhere,
// every third has notes and a birthday, and every fifth has every property.
std::string AddressBookText(int count);

// A mail store of `contacts` contacts in its contacts folder and `appointments`
// single appointments in its calendar.
std::string MailStoreText(int contacts, int appointments);

}  // namespace orvane::bench
