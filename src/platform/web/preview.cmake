# The preview card's picture and address in the site's page, between the
# marks shell.html leaves for them: with the site folder's address (the one
# line of BASE_FILE, ending in /), og:url, og:image and twitter:image, with
# a large card; without it, a plain card of title and description. The page
# is written only when that changes.
#   cmake -DPAGE=site/index.html -DBASE_FILE=base-url.txt -P preview.cmake
file(READ "${PAGE}" page)
file(READ "${BASE_FILE}" base)
set(open "<!-- preview picture -->\n")
set(close "<!-- end of preview picture -->")
string(FIND "${page}" "${open}" from)
string(FIND "${page}" "${close}" to)
if(from LESS 0 OR to LESS from)
  message(FATAL_ERROR "${PAGE} has no marks for the preview picture")
endif()
if(base STREQUAL "")
  set(tags "<meta name=\"twitter:card\" content=\"summary\">\n")
else()
  # web.sh lets no quote or angle bracket through; an ampersand is written
  # as the character reference it must be in an attribute.
  string(REPLACE "&" "&amp;" base "${base}")
  string(CONCAT tags "<meta property=\"og:url\" content=\"${base}\">\n"
                     "<meta property=\"og:image\" content=\"${base}preview.png\">\n"
                     "<meta name=\"twitter:card\" content=\"summary_large_image\">\n"
                     "<meta name=\"twitter:image\" content=\"${base}preview.png\">\n")
endif()
string(LENGTH "${open}" openLength)
math(EXPR from "${from} + ${openLength}")
string(SUBSTRING "${page}" 0 ${from} head)
string(SUBSTRING "${page}" ${to} -1 tail)
set(made "${head}${tags}${tail}")
if(NOT made STREQUAL page)
  file(WRITE "${PAGE}" "${made}")
endif()
