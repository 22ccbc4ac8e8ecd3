-- The shared rainfall database intensity.mdb: the list of locations. Each location also has a
-- table of its own, named as the location, created when the location is first saved.
-- Provenance says where a location's values come from (source, point, retrieval date); it is
-- NULL for a location typed in without one.
CREATE TABLE BasinName (BasinName TEXT, Provenance TEXT NULL);
