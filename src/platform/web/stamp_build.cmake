# Writes the page's service worker into PAGE, its cache named after the build: a digest of every file
# it keeps, so that any change to them is a new build to the browsers that have kept the old one.
#   cmake -DPAGE=FOLDER -P stamp_build.cmake
set(kept index.html bramblewick.js bramblewick.wasm manifest.webmanifest icon-192.png icon-512.png)
set(digests "")
set(FILES "")
foreach(file ${kept})
  file(SHA256 ${PAGE}/${file} digest)
  string(APPEND digests ${digest})
  list(APPEND FILES "'${file}'")
endforeach()
string(SHA256 BUILD "${digests}")
string(SUBSTRING ${BUILD} 0 16 BUILD)
string(REPLACE ";" ", " FILES "${FILES}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/service-worker.js ${PAGE}/service-worker.js @ONLY)
