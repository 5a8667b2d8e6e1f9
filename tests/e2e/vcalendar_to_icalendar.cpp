// Reads vCalendar 1.0 files with libical's converter and prints what it makes of
// each one as iCalendar text, so that a test can compare it with the store.
// Exit status 1 when a file cannot be read.
#include <libical/ical.h>
// The converter's header declares its functions without C linkage.
extern "C" {
#include <libical/icalvcal.h>
#include <libical/vcc.h>
}

#include <cstdio>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    VObject* object = Parse_MIME_FromFileName(argv[i]);
    if (object == nullptr) {
      std::fprintf(stderr, "%s: not a vCalendar file libical can read\n", argv[i]);
      return 1;
    }
    icalcomponent* calendar = icalvcal_convert(object);
    cleanVObject(object);
    if (calendar == nullptr) {
      std::fprintf(stderr, "%s: libical cannot convert it\n", argv[i]);
      return 1;
    }
    std::fputs(icalcomponent_as_ical_string(calendar), stdout);
    icalcomponent_free(calendar);
  }
  return 0;
}
