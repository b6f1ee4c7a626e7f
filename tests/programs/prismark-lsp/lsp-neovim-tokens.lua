-- SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
-- SPDX-License-Identifier: MIT
-- Run by tst_lsp inside headless Neovim, after the documented set-up has opened a
-- copy of the built-in themes' template: hovers a token reference, goes to its
-- definition, completes a path after "{", renames the token as :lua
-- vim.lsp.buf.rename() does, tries a refused rename, writes every buffer and logs
-- what it saw to session.log.
local log = io.open('session.log', 'w')
local function say(text)
  log:write(text .. '\n')
  log:flush()
end

local function session()
  local buffer = vim.api.nvim_get_current_buf()
  assert(vim.wait(30000, function() return next(vim.lsp.buf_get_clients(buffer)) ~= nil end, 20),
         'no client attached')
  local function request(method, params)
    local replies = vim.lsp.buf_request_sync(buffer, method, params, 10000)
    for _, reply in pairs(replies or {}) do
      local err = reply.err or reply.error -- 0.7 calls it error
      assert(not err, method .. ': ' .. vim.inspect(err))
      return reply.result
    end
    error('no answer to ' .. method)
  end
  local row, col
  for i, line in ipairs(vim.api.nvim_buf_get_lines(buffer, 0, -1, false)) do
    local at = line:find('{palette.window}', 1, true)
    if at and not line:find('@palette', 1, true) then
      row, col = i - 1, at
      break
    end
  end
  assert(row, 'no {palette.window} in the template')
  local document = { uri = vim.uri_from_bufnr(buffer) }
  local position = { textDocument = document, position = { line = row, character = col + 2 } }

  say('hover: ' .. request('textDocument/hover', position).contents.value:gsub('\n', ' | '))
  local places = request('textDocument/definition', position)
  say(string.format('definition: %d places, the first %s:%d', #places,
                    vim.fn.fnamemodify(vim.uri_to_fname(places[1].uri), ':t'),
                    places[1].range.start.line + 1))
  local items = request('textDocument/completion', {
    textDocument = document, position = { line = row, character = col + 9 } }).items
  say('completion after {palette.: ' .. #items .. ' items')

  vim.api.nvim_win_set_cursor(0, { row + 1, col + 1 })
  vim.lsp.buf.rename('windowBackground')
  assert(vim.wait(10000, function()
    return vim.api.nvim_buf_get_lines(buffer, row, row + 1, false)[1]:find('windowBackground')
  end, 20), 'the rename did not reach the template')
  local modified = 0
  for _, other in ipairs(vim.api.nvim_list_bufs()) do
    if vim.bo[other].modified then modified = modified + 1 end
  end
  say('after rename: ' .. vim.trim(vim.api.nvim_buf_get_lines(buffer, row, row + 1, false)[1]) ..
      ', ' .. modified .. ' buffers changed')

  local ok, problem = pcall(request, 'textDocument/rename', {
    textDocument = document, position = position.position, newName = 'palette.x.windowBackground' })
  say('refused: ' .. (ok and 'no' or tostring(problem):match('only the last part') or tostring(problem)))
  vim.cmd('silent wall')
  say('session: ok')
end

local ok, problem = pcall(session)
if not ok then
  say('session failed: ' .. tostring(problem))
end
log:close()
vim.cmd('qall!')
