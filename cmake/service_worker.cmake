# Writes the site's service worker, its cache named for the release and a
# digest of the files it keeps, so that any change makes a new cache.
#   cmake -DSITE=DIR -DTEMPLATE=sw.js.in -DVERSION=V -DFILES="a;b" -P service_worker.cmake
set(hashes "")
foreach(file ${FILES})
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 digest "${hashes}")
string(SUBSTRING ${digest} 0 12 digest)
set(CACHE_TAG ${VERSION}-${digest})
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
