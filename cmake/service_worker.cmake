# Writes the site's service worker with the SHA-256 of each file it keeps, and
# its release named for them and for the worker itself, so that any change
# makes a new release.
#   cmake -DSITE=DIR -DTEMPLATE=sw.js.in -DVERSION=V -DFILES="a;b" -P service_worker.cmake
file(SHA256 ${TEMPLATE} hashes)
set(FILE_HASHES "")
foreach(file ${FILES})
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes ${hash})
  string(APPEND FILE_HASHES "\n  '${file}': '${hash}',")
endforeach()
string(SHA256 digest "${hashes}")
string(SUBSTRING ${digest} 0 12 digest)
set(CACHE_TAG ${VERSION}-${digest})
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
