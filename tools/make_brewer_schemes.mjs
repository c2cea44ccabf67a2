#!/usr/bin/env node
// Writes data/ColorBrewer_all_schemes.txt and data/ColorBrewer_NOTICE.txt
// from the colour values of the npm package colorbrewer 1.7.0.
//
//   node tools/make_brewer_schemes.mjs [unpacked-package-dir]
//
// Without a directory the package is fetched with `npm pack` into a
// temporary directory (nothing is installed into the repository).
//
// File layout (tab-separated, LF line ends, no blank lines):
//   ColorName<TAB>NumOfColors<TAB>Type                 header
//   <name><TAB><n><TAB>seq|div|qual                     one scheme line ...
//   <k><TAB>#rrggbb<TAB><red><TAB><green><TAB><blue>    ... then n colour lines
//   EndOfPalettes                                       end marker
// Schemes are written group by group (multi-hue sequential, single-hue
// sequential, diverging, qualitative), each scheme's sizes in rising order.

import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const kPackage = 'colorbrewer';
const kVersion = '1.7.0';
const kExpectedSchemes = 35;
const kExpectedSizes = 265;
// The package's groups and the type word each is written with.
const kGroups = [
  ['sequential', 'seq'],
  ['singlehue', 'seq'],
  ['diverging', 'div'],
  ['qualitative', 'qual'],
];

function fail(message) {
  console.error(`make_brewer_schemes: ${message}`);
  process.exit(1);
}

function fetchPackage() {
  const dir = mkdtempSync(join(tmpdir(), 'colorbrewer-'));
  execFileSync('npm', ['pack', `${kPackage}@${kVersion}`, '--pack-destination', dir, '--silent'],
               { stdio: ['ignore', 'ignore', 'inherit'] });
  execFileSync('tar', ['xzf', join(dir, `${kPackage}-${kVersion}.tgz`), '-C', dir]);
  return { packageDir: join(dir, 'package'), cleanup: () => rmSync(dir, { recursive: true, force: true }) };
}

function colourLine(index, hex) {
  const m = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(hex);
  if (!m) fail(`not a #rrggbb colour: ${hex}`);
  const [r, g, b] = m.slice(1).map((h) => parseInt(h, 16));
  return `${index}\t${hex.toLowerCase()}\t${r}\t${g}\t${b}`;
}

function schemeLines(brewer) {
  const lines = ['ColorName\tNumOfColors\tType'];
  let schemes = 0;
  let sizes = 0;
  for (const [group, typeWord] of kGroups) {
    const names = brewer.schemeGroups[group];
    if (!Array.isArray(names)) fail(`group ${group} missing`);
    for (const name of names) {
      const scheme = brewer[name];
      if (!scheme) fail(`scheme ${name} missing`);
      ++schemes;
      const counts = Object.keys(scheme).map(Number).sort((a, b) => a - b);
      for (const n of counts) {
        const colours = scheme[n];
        if (colours.length !== n) fail(`${name} ${n} has ${colours.length} colours`);
        ++sizes;
        lines.push(`${name}\t${n}\t${typeWord}`);
        colours.forEach((hex, k) => lines.push(colourLine(k + 1, hex)));
      }
    }
  }
  if (schemes !== kExpectedSchemes || sizes !== kExpectedSizes)
    fail(`expected ${kExpectedSchemes} schemes in ${kExpectedSizes} sizes, got ${schemes} in ${sizes}`);
  lines.push('EndOfPalettes');
  return lines;
}

function notice(licenceText) {
  return [
    'ColorBrewer_all_schemes.txt',
    '',
    'This product includes color specifications and designs developed by Cynthia Brewer (http://colorbrewer.org/).',
    '',
    `The colour values in ColorBrewer_all_schemes.txt were taken unchanged from the`,
    `npm package "${kPackage}" ${kVersion} (Apache-2.0) and rewritten as a tab-separated`,
    'table by tools/make_brewer_schemes.mjs: a header line, then for each scheme',
    'size a line "name<TAB>count<TAB>seq|div|qual" followed by one line per colour',
    '"number<TAB>#rrggbb<TAB>red<TAB>green<TAB>blue", and the end line "EndOfPalettes".',
    'The package\'s licence follows verbatim.',
    '',
    '-------------------------------------------------------------------------------',
    '',
    licenceText.replace(/\r\n?/g, '\n').trimEnd(),
    '',
  ].join('\n');
}

async function main() {
  const given = process.argv[2];
  const fetched = given ? null : fetchPackage();
  const packageDir = given ? resolve(given) : fetched.packageDir;
  try {
    const manifest = JSON.parse(readFileSync(join(packageDir, 'package.json'), 'utf8'));
    if (manifest.name !== kPackage || manifest.version !== kVersion)
      fail(`expected ${kPackage} ${kVersion}, found ${manifest.name} ${manifest.version}`);
    const brewer = (await import(pathToFileURL(join(packageDir, 'index.es.js')).href)).default;
    const licence = readFileSync(join(packageDir, 'LICENSE.txt'), 'utf8');

    const dataDir = join(dirname(fileURLToPath(import.meta.url)), '..', 'data');
    writeFileSync(join(dataDir, 'ColorBrewer_all_schemes.txt'), schemeLines(brewer).join('\n') + '\n');
    writeFileSync(join(dataDir, 'ColorBrewer_NOTICE.txt'), notice(licence));
  } finally {
    if (fetched) fetched.cleanup();
  }
}

main().catch((e) => fail(e.stack || String(e)));
