// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
// What the packaged extension holds: an editor installs exactly this file.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const path = require('path');
const yauzl = require('yauzl');

const vsix = path.join(__dirname, '..', 'prismark-qss.vsix');
const skip = fs.existsSync(vsix) ? false : 'not packaged yet (npm run package)';

function readEntries(file) {
  return new Promise((resolve, reject) => {
    yauzl.open(file, { lazyEntries: true }, (error, zip) => {
      if (error) {
        reject(error);
        return;
      }
      const entries = new Map();
      zip.on('entry', (entry) => {
        zip.openReadStream(entry, (streamError, stream) => {
          if (streamError) {
            reject(streamError);
            return;
          }
          const chunks = [];
          stream.on('data', (chunk) => chunks.push(chunk));
          stream.on('end', () => {
            entries.set(entry.fileName, Buffer.concat(chunks));
            zip.readEntry();
          });
        });
      });
      zip.on('end', () => resolve(entries));
      zip.readEntry();
    });
  });
}

test('the .vsix holds the bundled client, grammar and language set-up, and no sources', { skip }, async () => {
  const entries = await readEntries(vsix);
  const names = [...entries.keys()];
  for (const required of ['extension.vsixmanifest', 'extension/package.json',
                          'extension/dist/extension.js', 'extension/syntaxes/qss.tmLanguage.json',
                          'extension/language-configuration.json', 'extension/readme.md',
                          'extension/LICENSE.txt']) {
    assert.ok(names.includes(required), `${required} missing from ${names.join(', ')}`);
  }
  for (const name of names) {
    assert.doesNotMatch(name, /^extension\/(src|test|node_modules|out)\/|\.map$|tsconfig|gitignore|run-tests/, name);
  }

  const manifest = JSON.parse(entries.get('extension/package.json').toString('utf8'));
  assert.deepStrictEqual(manifest.activationEvents,
                         ['onLanguage:qss', 'onLanguage:cpp', 'onLanguage:c', 'onLanguage:python',
                          'workspaceContains:**/*.ui']);
  assert.strictEqual(manifest.main, './dist/extension.js');
  const language = manifest.contributes.languages.find((l) => l.id === 'qss');
  assert.deepStrictEqual(language.extensions, ['.qss', '.qss.in']);
  // Every file the manifest points at is inside the package.
  for (const file of [manifest.main, language.configuration,
                      ...manifest.contributes.grammars.map((g) => g.path)]) {
    assert.ok(names.includes(path.posix.join('extension', file)), `${file} not packaged`);
  }
  const commands = manifest.contributes.commands.map((c) => c.command);
  assert.ok(commands.includes('prismark.restartServer'));
  assert.ok('prismark.serverPath' in manifest.contributes.configuration.properties);
  assert.ok('prismark.embeddedSheets' in manifest.contributes.configuration.properties);

  // The bundle carries the client library and leaves only the editor's API outside.
  const bundle = entries.get('extension/dist/extension.js').toString('utf8');
  assert.match(bundle, /require\("vscode"\)/);
  assert.doesNotMatch(bundle, /require\("vscode-languageclient/);
});
